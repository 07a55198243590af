#pragma once

namespace glimpa {

class AppContext;

/// Starts the program: shows the main window and names the help file. The
/// program then runs on window events until its last window is unloaded.
void Main(AppContext& app);

}  // namespace glimpa

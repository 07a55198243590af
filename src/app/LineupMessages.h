#pragma once

#include <string>

namespace glimpa {

class AppContext;

/// A count in brackets before a text: "(3)  Duplicate images were skipped."
std::string counted(int count, const char* text);

/// Tells the user, with a beep, how many pictures found no room in a full
/// lineup.
void reportLineupFull(AppContext& app, int notAdded);

}  // namespace glimpa

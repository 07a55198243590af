#pragma once

namespace glimpa {

/// Wayland lets no program place its windows or keep one above the others,
/// and tells none where its windows stand: the side windows could neither
/// come back where they were left nor stay in front. Where an X server runs
/// beside the Wayland session (XWayland), the program's windows go there,
/// falling back to Wayland if it cannot be reached. A choice the user made
/// with QT_QPA_PLATFORM stands. Call before the QApplication is made.
void preferPlaceableWindows();

/// Whether the program has a display to open its windows on: one named in
/// DISPLAY or WAYLAND_DISPLAY, or a platform the user chose (QT_QPA_PLATFORM,
/// -platform). Without one, Qt would abort. Call before the QApplication is
/// made.
bool displayNamed(int argc, char* argv[]);

/// Whether a window manager (or a Wayland compositor) runs, which frames,
/// places, maximizes and restores the windows.
bool windowManagerRuns();

/// Takes back what preferPlaceableWindows() set, once the application has
/// read it, so that programs started from this one choose for themselves.
void forgetWindowSystemChoice();

}  // namespace glimpa

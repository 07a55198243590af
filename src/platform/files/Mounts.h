#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glimpa {

/// The mount points of a mount table (the text of /proc/self/mountinfo)
/// that can hold the user's files, sorted, each once; "/" when none can.
/// Pseudo and system file systems are left out; under /run only the user's
/// media (/run/media/<user>/…) are kept.
std::vector<std::string> userMountPoints(std::string_view mountTable);

/// The user's mount points now. Read from the kernel's table alone, without
/// asking any mounted file system about itself: a network file system whose
/// server no longer answers would hold the program up for good.
std::vector<std::string> mountedDrives();

}  // namespace glimpa

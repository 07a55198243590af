#pragma once

#include <optional>
#include <string>
#include <vector>

namespace glimpa {

/// An absolute, normalised folder path without a trailing separator (but "/").
std::string normalFolder(const std::string& folder);

/// The normalised path of an existing folder; nothing for anything else.
std::optional<std::string> existingFolder(const std::string& folder);

/// The process's current folder, normalised.
std::string currentFolder();

/// The mount point among drives that holds a path (the longest that does).
std::string driveHolding(const std::vector<std::string>& drives, const std::string& path);

}  // namespace glimpa

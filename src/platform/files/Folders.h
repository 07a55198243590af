#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimpa {

/// An absolute, normalised folder path without a trailing separator (but "/").
std::string normalFolder(const std::string& folder);

/// The normalised path of an existing folder; nothing for anything else.
std::optional<std::string> existingFolder(const std::string& folder);

/// The process's current folder, normalised.
std::string currentFolder();

/// The names of a folder's regular files that match a pattern, in the order
/// the folder gives them; hidden files are left out.
std::vector<std::string> filesMatching(const std::string& folder, std::string_view pattern);

/// The mount point among drives that holds a path (the longest that does).
std::string driveHolding(const std::vector<std::string>& drives, const std::string& path);

}  // namespace glimpa

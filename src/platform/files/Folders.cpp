#include "platform/files/Folders.h"

#include <filesystem>

#include "platform/files/FileNames.h"

namespace fs = std::filesystem;

namespace glimpa {

std::string normalFolder(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::absolute(fs::path(folder), error).lexically_normal();
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::optional<std::string> existingFolder(const std::string& folder) {
    if (folder.empty()) {
        return std::nullopt;
    }
    std::string target = normalFolder(folder);
    std::error_code error;
    if (!fs::is_directory(target, error)) {
        return std::nullopt;
    }
    return target;
}

std::string currentFolder() {
    std::error_code error;
    return normalFolder(fs::current_path(error).string());
}

std::vector<std::string> filesMatching(const std::string& folder, std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.' || !matchesPattern(name, pattern)) {
            continue;
        }
        std::error_code statError;
        if (it->is_regular_file(statError)) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

std::string driveHolding(const std::vector<std::string>& drives, const std::string& path) {
    std::string best;
    for (const auto& drive : drives) {
        if (isInside(path, drive) && drive.size() > best.size()) {
            best = drive;
        }
    }
    return best.empty() && !drives.empty() ? drives.front() : best;
}

}  // namespace glimpa

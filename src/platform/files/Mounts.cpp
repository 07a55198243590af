#include "platform/files/Mounts.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

#include "platform/files/FileNames.h"

namespace glimpa {

namespace {

// The system's own file systems, and squashfs: the read-only images that
// packages such as snaps mount, one for each program and release.
constexpr std::array<std::string_view, 21> kSystemTypes{
    "proc",   "sysfs",   "devpts",      "devtmpfs", "cgroup",    "cgroup2",  "securityfs",
    "pstore", "debugfs", "tracefs",     "mqueue",   "hugetlbfs", "configfs", "fusectl",
    "bpf",    "autofs",  "binfmt_misc", "efivarfs", "ramfs",     "nsfs",     "squashfs"};

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        const auto end = text.find(separator);
        if (end != 0) {
            parts.push_back(text.substr(0, end));
        }
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return parts;
}

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// The table writes a blank, a tab, a line break and a backslash in a path
// as octal escapes (\040 …).
std::string unescaped(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && field.size() - i >= 4 && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                             (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

bool holdsUserFiles(const std::string& mountPoint, std::string_view type) {
    if (std::find(kSystemTypes.begin(), kSystemTypes.end(), type) != kSystemTypes.end()) {
        return false;
    }
    return !isInside(mountPoint, "/proc") && !isInside(mountPoint, "/sys") &&
           !isInside(mountPoint, "/dev") &&
           (!isInside(mountPoint, "/run") || isInside(mountPoint, "/run/media"));
}

}  // namespace

std::vector<std::string> userMountPoints(std::string_view mountTable) {
    std::vector<std::string> mounts;
    for (const std::string_view line : split(mountTable, '\n')) {
        // id, parent, device, root, mount point, options, optional fields,
        // "-", then the file system's type.
        const std::vector<std::string_view> fields = split(line, ' ');
        const auto separator =
            std::find(fields.begin() + std::min<std::size_t>(fields.size(), 6), fields.end(), "-");
        if (fields.size() < 5 || std::distance(separator, fields.end()) < 2) {
            continue;
        }
        std::string mountPoint = unescaped(fields[4]);
        if (holdsUserFiles(mountPoint, *(separator + 1))) {
            mounts.push_back(std::move(mountPoint));
        }
    }
    if (mounts.empty()) {
        mounts.emplace_back("/");
    }
    std::sort(mounts.begin(), mounts.end());
    mounts.erase(std::unique(mounts.begin(), mounts.end()), mounts.end());
    return mounts;
}

std::vector<std::string> mountedDrives() {
    std::ifstream table("/proc/self/mountinfo");
    const std::string text{std::istreambuf_iterator<char>(table), {}};
    return userMountPoints(text);
}

}  // namespace glimpa

#include "platform/controls/DirListBox.h"

#include <algorithm>
#include <filesystem>

#include "platform/files/FileNames.h"
#include "platform/files/Folders.h"

namespace fs = std::filesystem;

namespace glimpa {

DirListBox::DirListBox(std::string name, Control* container, DriveSource drives, NameSorter sorter)
    : Control(std::move(name), container),
      m_drives(std::move(drives)),
      m_sorter(std::move(sorter)) {
    m_path = currentFolder();
    m_lastOnDrive[driveHolding(m_drives(), m_path)] = m_path;
    readEntries();
}

bool DirListBox::setPath(const std::string& folder) {
    const auto existing = existingFolder(folder);
    if (!existing) {
        return false;
    }
    const std::string& target = *existing;
    m_lastOnDrive[driveHolding(m_drives(), target)] = target;
    if (target == m_path) {
        return true;
    }
    m_path = target;
    readEntries();
    changed(Aspect::Items);
    Change();
    return true;
}

bool DirListBox::setPathToDrive(const std::string& drive) {
    const std::vector<std::string> drives = m_drives();
    if (std::find(drives.begin(), drives.end(), drive) == drives.end()) {
        return false;
    }
    const auto last = m_lastOnDrive.find(drive);
    if (last != m_lastOnDrive.end() && setPath(last->second)) {
        return true;
    }
    return setPath(drive);
}

void DirListBox::platformOpen(int index) {
    if (index >= 0 && index < static_cast<int>(m_entries.size())) {
        setPath(m_entries[static_cast<std::size_t>(index)].path);
    }
}

void DirListBox::readEntries() {
    m_entries.clear();
    fs::path walked;
    int depth = 0;
    for (const auto& part : fs::path(m_path)) {
        walked /= part;
        const std::string label = part.string().empty() ? walked.string() : part.string();
        m_entries.push_back({normalFolder(walked.string()), label, depth++});
    }
    m_currentEntry = static_cast<int>(m_entries.size()) - 1;

    std::vector<std::string> subfolders;
    std::error_code error;
    for (fs::directory_iterator it(m_path, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code statError;
        if (!name.empty() && name.front() != '.' && it->is_directory(statError)) {
            subfolders.push_back(name);
        }
    }
    m_sorter(subfolders);
    const std::string prefix = m_path == "/" ? m_path : m_path + "/";
    for (const auto& name : subfolders) {
        m_entries.push_back({prefix + name, name, depth});
    }
}

}  // namespace glimpa

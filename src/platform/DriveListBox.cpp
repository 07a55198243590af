#include "platform/DriveListBox.h"

#include <algorithm>
#include <filesystem>

#include "platform/FileNames.h"

namespace glimpa {

DriveListBox::DriveListBox(std::string name, Control* container, std::vector<std::string> drives)
    : Control(std::move(name), container), m_drives(std::move(drives)) {
    std::error_code error;
    m_drive = driveHolding(m_drives, std::filesystem::current_path(error).string());
}

bool DriveListBox::setDrive(const std::string& drive) {
    if (std::find(m_drives.begin(), m_drives.end(), drive) == m_drives.end()) {
        return false;
    }
    if (m_drive != drive) {
        m_drive = drive;
        changed(Aspect::Value);
        Change();
    }
    return true;
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

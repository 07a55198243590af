#include "platform/controls/DriveListBox.h"

#include <algorithm>

#include "platform/files/Folders.h"

namespace glimpa {

DriveListBox::DriveListBox(std::string name, Control* container, std::vector<std::string> drives)
    : Control(std::move(name), container), m_drives(std::move(drives)) {
    m_drive = driveHolding(m_drives, currentFolder());
}

bool DriveListBox::setDrive(const std::string& drive) {
    if (std::find(m_drives.begin(), m_drives.end(), drive) == m_drives.end()) {
        return false;
    }
    assignValue(m_drive, drive, &Change);
    return true;
}

}  // namespace glimpa

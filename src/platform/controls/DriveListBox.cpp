#include "platform/controls/DriveListBox.h"

#include <algorithm>

#include "platform/files/Folders.h"

namespace glimpa {

DriveListBox::DriveListBox(std::string name, Control* container, DriveSource source)
    : Control(std::move(name), container), m_source(std::move(source)), m_drives(m_source()) {
    m_drive = driveHolding(m_drives, currentFolder());
}

bool DriveListBox::setDrive(const std::string& drive) {
    if (std::find(m_drives.begin(), m_drives.end(), drive) == m_drives.end()) {
        return false;
    }
    assignValue(m_drive, drive, &Change);
    return true;
}

void DriveListBox::followFolder(const std::string& folder) {
    assignValue(m_drive, driveHolding(m_drives, folder));
}

void DriveListBox::platformOpenList() {
    m_drives = m_source();
    changed(Aspect::Items);
    followFolder(m_drive);
}

}  // namespace glimpa

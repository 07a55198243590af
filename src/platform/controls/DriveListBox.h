#pragma once

#include <string>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace glimpa {

/// The drives: the mounted file systems that hold user files, each named by
/// its mount point. The current drive starts as the one holding the
/// process's current folder.
class DriveListBox : public Control {
public:
    DriveListBox(std::string name, Control* container, std::vector<std::string> drives);
    ControlKind kind() const override { return ControlKind::DriveListBox; }

    const std::vector<std::string>& drives() const { return m_drives; }
    const std::string& drive() const { return m_drive; }
    /// Makes a listed drive current; fails for one that is not mounted.
    bool setDrive(const std::string& drive);

    Event<> Change;

private:
    std::vector<std::string> m_drives;
    std::string m_drive;
};

}  // namespace glimpa

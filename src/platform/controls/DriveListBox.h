#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace glimpa {

/// The mounted file systems, read when asked: media mounted since appear.
using DriveSource = std::function<std::vector<std::string>()>;

/// The drives: the mounted file systems that hold user files, each named by
/// its mount point. The current drive starts as the one holding the
/// process's current folder.
class DriveListBox : public Control {
public:
    DriveListBox(std::string name, Control* container, DriveSource source);
    ControlKind kind() const override { return ControlKind::DriveListBox; }

    const std::vector<std::string>& drives() const { return m_drives; }
    const std::string& drive() const { return m_drive; }
    /// Makes a listed drive current; fails for one that is not mounted.
    bool setDrive(const std::string& drive);
    /// Shows the drive that holds this folder, without its change handling.
    void followFolder(const std::string& folder);

    /// The user opens the list: the drives are read again.
    void platformOpenList();

    Event<> Change;

private:
    DriveSource m_source;
    std::vector<std::string> m_drives;
    std::string m_drive;
};

}  // namespace glimpa

#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/DriveListBox.h"
#include "platform/controls/Event.h"
#include "platform/files/FileNames.h"

namespace glimpa {

/// The folders around the current one: its ancestors from the root down, then
/// its own subfolders. Opening an entry makes it the current folder.
class DirListBox : public Control {
public:
    struct Entry {
        std::string path;
        std::string label;
        int depth;
    };

    DirListBox(std::string name, Control* container, DriveSource drives,
               NameSorter sorter = sortNaturally);
    ControlKind kind() const override { return ControlKind::DirListBox; }

    const std::string& path() const { return m_path; }
    /// Goes to an existing folder; fails (and stays) for anything else.
    bool setPath(const std::string& folder);
    /// Goes to a drive's current folder: the one last shown on it, else the
    /// process's current folder when that drive holds it, else its root.
    bool setPathToDrive(const std::string& drive);

    const std::vector<Entry>& entries() const { return m_entries; }
    /// The entry of the current folder.
    int listIndex() const { return m_currentEntry; }

    void platformOpen(int index);

    Event<> Change;

private:
    void readEntries();

    DriveSource m_drives;
    NameSorter m_sorter;
    std::string m_path;
    std::vector<Entry> m_entries;
    int m_currentEntry = -1;
    std::map<std::string, std::string> m_lastOnDrive;
};

}  // namespace glimpa

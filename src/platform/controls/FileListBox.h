#pragma once

#include "platform/controls/ListBox.h"

namespace glimpa {

/// The files of one folder whose names match a pattern, sorted as file
/// dialogs sort, with extended selection. Hidden files are left out.
class FileListBox : public ListBox {
public:
    FileListBox(std::string name, Control* container);
    ControlKind kind() const override { return ControlKind::FileListBox; }

    const std::string& path() const { return m_path; }
    /// Lists another folder; fails (and stays) for one that is not a folder.
    bool setPath(const std::string& folder);
    const std::string& pattern() const { return m_pattern; }
    void setPattern(std::string pattern);
    /// Reads the folder again; no entry is selected or current afterwards.
    void refresh() override;

    /// The name of the current entry, selected or not; empty when none.
    std::string fileName() const { return text(); }

private:
    std::string m_path;
    std::string m_pattern = "*.*";
};

}  // namespace glimpa

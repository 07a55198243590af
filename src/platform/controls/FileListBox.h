#pragma once

#include <string>
#include <vector>
#include "platform/controls/ListBox.h"

#include "platform/files/FileNames.h"

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
    void setPattern(std::string_view pattern);
    /// Reads the folder again; no entry is selected or current afterwards.
    void refresh() override;

    /// The order of the listed names (the platform's file dialogs' order).
    void setNameSorter(NameSorter sorter) {
        m_sorter = std::move(sorter);
        m_readOrder.clear();
    }

    /// The name of the current entry, selected or not; empty when none.
    std::string fileName() const { return text(); }

private:
    std::string m_path;
    std::string m_pattern = "*.*";
    NameSorter m_sorter = sortNaturally;
    /// The names of the last reading, as read and as sorted.
    std::vector<std::string> m_readOrder;
    std::vector<std::string> m_sorted;
};

}  // namespace glimpa

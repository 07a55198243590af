#include "platform/controls/FileListBox.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/files/FileNames.h"
#include "platform/files/Folders.h"

namespace glimpa {

FileListBox::FileListBox(std::string name, Control* container)
    : ListBox(std::move(name), container, SelectionMode::Extended,
              std::numeric_limits<int>::max()) {
    m_path = currentFolder();
}

bool FileListBox::setPath(const std::string& folder) {
    const auto existing = existingFolder(folder);
    if (!existing) {
        return false;
    }
    m_path = *existing;
    refresh();
    return true;
}

void FileListBox::setPattern(std::string_view pattern) {
    m_pattern = pattern;
    refresh();
}

void FileListBox::refresh() {
    std::vector<std::string> names = filesMatching(m_path, m_pattern);
    // A folder read again unchanged (after adding, say) keeps its order
    // without sorting again: the sort is most of the work for a large folder.
    if (names != m_readOrder) {
        m_readOrder = names;
        m_sorter(names);
        m_sorted = std::move(names);
    }
    setRows(std::deque<std::string>(m_sorted.begin(), m_sorted.end()));
}

}  // namespace glimpa

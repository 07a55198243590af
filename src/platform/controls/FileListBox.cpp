#include "platform/controls/FileListBox.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <vector>

#include "platform/files/FileNames.h"
#include "platform/files/Folders.h"

namespace fs = std::filesystem;

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

void FileListBox::setPattern(std::string pattern) {
    m_pattern = std::move(pattern);
    refresh();
}

void FileListBox::refresh() {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(m_path, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.' || !matchesPattern(name, m_pattern)) {
            continue;
        }
        std::error_code statError;
        if (it->is_regular_file(statError)) {
            names.push_back(std::move(name));
        }
    }
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

#include "ListWork.h"

#include <chrono>
#include <cstdio>
#include <fstream>

#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "platform/controls/FileListBox.h"
#include "platform/services/MessageBoxes.h"
#include "support/Harness.h"

namespace glimpa::bench {

namespace {
std::string numbered(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%05d.JPG", i);
    return name;
}
}  // namespace

void makeFolderOfFiles(const std::filesystem::path& folder, int count) {
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        std::ofstream(folder / numbered(i));
    }
}

int listFolder(const std::filesystem::path& folder, NameSorter sorter) {
    Form form("f");
    FileListBox files("File1", &form);
    files.setNameSorter(std::move(sorter));
    files.setPattern("*.bmp;*.jpg;*.gif");
    files.setPath(folder.string());
    return files.listCount();
}

double addAll20000Into10000() {
    test::Harness h;
    frmImageSelector& selector = h.app.frmImageSelector();
    ListBox& lineup = h.app.frmLineupSelector().ListPictures;
    std::deque<std::string> old;
    std::deque<std::string> listed;
    for (int i = 0; i < 10000; ++i) {
        old.push_back("/old/" + numbered(i));
    }
    for (int i = 0; i < 20000; ++i) {
        listed.push_back(numbered(i));
    }
    lineup.setRows(std::move(old));
    selector.File1.setRows(std::move(listed));
    h.messages.answer({msgbox::No});
    const auto start = std::chrono::steady_clock::now();
    selector.cmdAddAll_Click();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

}  // namespace glimpa::bench

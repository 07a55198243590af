// Listing a large folder and adding thousands of files to a large lineup.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>

#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "platform/FileListBox.h"
#include "platform/MessageBoxes.h"
#include "support/Harness.h"
#include "support/ImageFiles.h"

namespace glimpa {
namespace {

std::string numbered(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%05d.JPG", i);
    return name;
}

void ListFolderOf50000Files(benchmark::State& state) {
    test::TempFolder folder;
    for (int i = 0; i < 50000; ++i) {
        std::ofstream(folder.path() / numbered(i));
    }
    Form form("f");
    FileListBox files("File1", &form);
    files.setPattern("*.bmp;*.jpg;*.gif");
    for (auto _ : state) {
        files.setPath(folder.path().string());
        benchmark::DoNotOptimize(files.listCount());
    }
    state.counters["files"] = files.listCount();
}
BENCHMARK(ListFolderOf50000Files)->Unit(benchmark::kMillisecond)->Iterations(5);

void AddAll20000FilesInto10000(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
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
        state.ResumeTiming();
        selector.cmdAddAll_Click();
        benchmark::DoNotOptimize(lineup.listCount());
    }
}
BENCHMARK(AddAll20000FilesInto10000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace glimpa

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

// Micro benchmarks: listing a large folder and adding thousands of files to a
// large lineup.
#include <benchmark/benchmark.h>

#include "ListWork.h"
#include "pictures/Files.h"

namespace glimpa::bench {
namespace {

void ListFolderOf50000Files(benchmark::State& state) {
    test::TempFolder folder;
    makeFolderOfFiles(folder.path(), 50000);
    int rows = 0;
    for (auto _ : state) {
        rows = listFolder(folder.path());
    }
    state.counters["files"] = rows;
}
BENCHMARK(ListFolderOf50000Files)->Unit(benchmark::kMillisecond)->Iterations(5);

void AddAll20000FilesInto10000(benchmark::State& state) {
    for (auto _ : state) {
        state.SetIterationTime(addAll20000Into10000());
    }
}
BENCHMARK(AddAll20000FilesInto10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace glimpa::bench

BENCHMARK_MAIN();

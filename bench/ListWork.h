#pragma once

#include <filesystem>

namespace glimpa::bench {

/// Fills a folder with this many empty picture-named files.
void makeFolderOfFiles(const std::filesystem::path& folder, int count);
/// Lists the folder in the Image Selector's file list; returns the rows listed.
int listFolder(const std::filesystem::path& folder);
/// Seconds for "Add All" of 20,000 listed files into a lineup of 10,000.
double addAll20000Into10000();

}  // namespace glimpa::bench

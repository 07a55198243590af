#pragma once

#include <filesystem>

#include "platform/files/FileNames.h"

namespace glimpa::bench {

/// Fills a folder with this many empty picture-named files.
void makeFolderOfFiles(const std::filesystem::path& folder, int count);
/// Lists the folder in the Image Selector's file list, in this order; returns
/// the rows listed.
int listFolder(const std::filesystem::path& folder, NameSorter sorter = sortNaturally);
/// Seconds for "Add All" of 20,000 listed files into a lineup of 10,000.
double addAll20000Into10000();

}  // namespace glimpa::bench

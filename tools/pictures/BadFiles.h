#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace glimpa::test {

/// What a file of the bad-input corpus must do to the viewer.
enum class Expect {
    Failure,        ///< the one load-failure message
    EitherOutcome,  ///< damaged in a way a decoder cannot always see
    Picture,        ///< an odd but valid picture that must show
};

struct BadFile {
    std::string category;
    std::string name;
    std::string bytes;
    Expect expect;
};

inline void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.category << ": " << file.name;
}

/// Hostile and damaged picture files, made in memory from the program's own
/// small pictures.
std::vector<BadFile> badPictureFiles();

/// File-system oddities in a folder: a pipe, dangling and looping links, a
/// folder with a picture's name, a link to /dev/zero. Returns their names.
std::vector<std::string> makeFileSystemOddities(const std::filesystem::path& folder);

}  // namespace glimpa::test

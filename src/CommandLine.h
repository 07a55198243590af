#pragma once

#include <string>
#include <vector>

namespace glimpa {

/// Answers the options of `glimpa [--help|--version] [FILE|FOLDER]...`
/// (printing, then ending the program; an unknown option ends it with an
/// error) without a display. Returns when the program is to start.
void answerOptions(int argc, char* argv[]);

/// The paths named on the command line, made absolute, byte for byte as the
/// system passed them (names need not be UTF-8).
std::vector<std::string> pathsFromCommandLine(int argc, char* argv[]);

}  // namespace glimpa

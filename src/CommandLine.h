#pragma once

#include <optional>
#include <string>
#include <vector>

class QCoreApplication;

namespace glimpa {

/// Answers `glimpa --help` and `glimpa --version` without a display: prints,
/// then ends the program. Returns when the program is to start.
void answerHelpAndVersion(int argc, char* argv[]);

/// The paths named on the command line once the application has taken the
/// options of its own (-style, -platform …), made absolute, byte for byte as
/// the system passed them (names need not be UTF-8). Nothing, after telling
/// why on the standard error, when an option is not understood.
std::optional<std::vector<std::string>> pathsFromCommandLine(const QCoreApplication& application,
                                                             int argc, char* argv[]);

}  // namespace glimpa

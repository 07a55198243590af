#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <filesystem>
#include <string_view>

#include "app/Identity.h"

namespace glimpa {

namespace {

bool isOption(std::string_view argument) {
    return argument.size() > 1 && argument.front() == '-';
}

}  // namespace

void answerOptions(int argc, char* argv[]) {
    bool options = false;
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        options = options || isOption(argv[i]);
    }
    if (!options) {
        return;
    }
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromUtf8(kProgramTitle));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(kProgramVersion));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Gathers BMP, JPEG and GIF pictures into a lineup and pages through it."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Pictures, or folders of pictures, to show."),
                                 QStringLiteral("[FILE|FOLDER...]"));
    parser.process(application);  // ends the program on --help, --version or an error
}

std::vector<std::string> pathsFromCommandLine(int argc, char* argv[]) {
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (optionsEnded || !isOption(argument)) {
            // Absolute, so that a running program that takes them over (in
            // another current folder) finds them.
            std::error_code error;
            const std::filesystem::path path(argument);
            const std::filesystem::path absolute = std::filesystem::absolute(path, error);
            paths.push_back(error ? std::string(argument) : absolute.string());
        }
    }
    return paths;
}

}  // namespace glimpa

#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "app/Identity.h"

namespace glimpa {

namespace {

bool isOption(std::string_view argument) {
    return argument.size() > 1 && argument.front() == '-';
}

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Gathers BMP, JPEG and GIF pictures into a lineup and pages through it."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Pictures, or folders of pictures, to show."),
                                 QStringLiteral("[FILE|FOLDER...]"));
}

}  // namespace

void answerHelpAndVersion(int argc, char* argv[]) {
    bool asked = false;
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        const std::string_view argument = argv[i];
        asked = asked || argument == "-h" || argument == "--help" || argument == "--help-all" ||
                argument == "-v" || argument == "--version";
    }
    if (!asked) {
        return;
    }
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromUtf8(kProgramTitle));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(kProgramVersion));
    QCommandLineParser parser;
    describe(parser);
    parser.process(application);  // ends the program
}

std::optional<std::vector<std::string>> pathsFromCommandLine(const QCoreApplication& application,
                                                             int argc, char* argv[]) {
    std::vector<std::string> paths;
    bool optionsEnded = false;
    bool unknownOption = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && isOption(argument)) {
            unknownOption = true;
        } else {
            // Absolute, so that a running program that takes them over (in
            // another current folder) finds them.
            std::error_code error;
            const std::filesystem::path path(argument);
            const std::filesystem::path absolute = std::filesystem::absolute(path, error);
            paths.push_back(error ? std::string(argument) : absolute.string());
        }
    }
    if (unknownOption) {
        QCommandLineParser parser;
        describe(parser);
        if (!parser.parse(application.arguments())) {
            std::fprintf(stderr, "%s: %s\n", kProgramTitle, qPrintable(parser.errorText()));
            return std::nullopt;
        }
    }
    return paths;
}

}  // namespace glimpa

#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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
            paths.emplace_back(argument);
        }
    }
    return paths;
}

}  // namespace glimpa

// Soak: 10,000 slideshow advances over a lineup that mixes good and damaged
// files, through the real display path (offscreen), printing the resident
// size every 1,000 advances. The figures must stay flat.
#include <QApplication>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/AppContext.h"
#include "app/Main.h"
#include "decoding/PictureDecoder.h"
#include "lineup_selector/frmLineupSelector.h"
#include "pictures/BadFiles.h"
#include "pictures/ImageFiles.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/widgets/PictureWidget.h"
#include "support/ManualClock.h"
#include "support/Memory.h"
#include "support/QtHarness.h"
#include "viewer/frmImageViewer.h"

int main(int argc, char* argv[]) {
    using namespace glimpa;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int advances = argc > 1 ? std::atoi(argv[1]) : 10000;

    test::TempFolder folder;
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) {
        const std::string path = folder.file("good" + std::to_string(i) + ".jpg");
        test::writeJpeg(path, 1600 + 100 * i, 1200);
        paths.push_back(path);
    }
    test::writeBmp(folder.file("good.bmp"), 800, 600);
    test::writeGif(folder.file("good.gif"), 640, 480, 5);
    paths.push_back(folder.file("good.bmp"));
    paths.push_back(folder.file("good.gif"));
    int bad = 0;
    for (const auto& file : test::badPictureFiles()) {
        if (file.expect == test::Expect::Failure && bad++ < 8) {
            test::writeBytes(folder.file(file.name), file.bytes);
            paths.push_back(folder.file(file.name));
        }
    }

    test::QtHarness program;
    AppContext& app = program.app;
    test::ManualClock& clock = program.clock;
    test::ScriptedMessageBoxes& messages = program.messages;
    QtBackend& backend = program.backend;
    Main(app);
    frmImageViewer& viewer = app.frmImageViewer();
    ListBox& lineup = app.frmLineupSelector().ListPictures;
    for (const auto& path : paths) {
        lineup.addItem(path, -1);
    }
    viewer.Check1.setValue(CheckBox::Checked);
    viewer.Slider1.setValue(1);
    viewer.UpdateUI();
    viewer.Toolbar1.click("StartStop");
    auto* picture = static_cast<PictureWidget*>(backend.widgetFor(viewer.Image1));

    std::printf("%8s %8s %8s\n", "advances", "boxes", "RSS MB");
    for (int i = 1; i <= advances; ++i) {
        clock.advance(1000);
        picture->displayImage();
        QApplication::processEvents();
        if (i % 1000 == 0) {
            std::printf("%8d %8zu %8ld\n", i, messages.prompts.size(),
                        test::processMegabytes("VmRSS"));
            std::fflush(stdout);
            messages.prompts.clear();
            messages.log.clear();
        }
    }
    return viewer.Timer1.enabled() ? 0 : 1;
}

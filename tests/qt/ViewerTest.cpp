#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "app/AppContext.h"
#include "app/Main.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtImageDecoder.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/widgets/PictureWidget.h"
#include "support/Fakes.h"
#include "support/ImageFiles.h"
#include "support/ManualClock.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {
namespace {

/// The real program under the offscreen platform, with scripted boxes.
class QtViewer : public testing::Test {
protected:
    void TearDown() override { QApplication::processEvents(); }

    test::TempFolder folder;
    test::ManualClock clock;
    test::ScriptedMessageBoxes messages;
    test::MemorySettingsStore settings;
    test::FakePointer pointer;
    test::FakeProcess process;
    test::FakeHelp help;
    QtImageDecoder decoder;
    QtEnvironment environment;
    QtBackend backend{help};
    AppContext app{
        Services{messages, settings, clock, pointer, process, help, decoder, environment, backend}};
};

TEST_F(QtViewer, ALoadedPictureShowsInTheFrameAndTheScrollBarMovesIt) {
    Main(app);
    frmImageViewer& viewer = app.frmImageViewer();
    test::writeJpeg(folder.file("wide.jpg"), 3000, 100);
    app.CurrentFile = folder.file("wide.jpg");
    viewer.LoadPic();

    auto* picture = qobject_cast<PictureWidget*>(backend.widgetFor(viewer.Image1));
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->parentWidget(), backend.widgetFor(viewer.picBackground));
    EXPECT_EQ(picture->width(), 3000);
    EXPECT_EQ(picture->displayImage().width(), 3000);

    auto* bar = qobject_cast<QScrollBar*>(backend.widgetFor(viewer.HScroll1));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    bar->setValue(bar->maximum());
    EXPECT_EQ(picture->x() + picture->width(), backend.widgetFor(viewer.picBackground)->width());
    EXPECT_EQ(backend.widgetFor(viewer.form())->windowTitle(),
              QString::fromStdString("GLIMPA Viewing:  " + folder.file("wide.jpg")));
}

}  // namespace
}  // namespace glimpa

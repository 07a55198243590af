#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <fstream>

#include <QAccessible>
#include <QComboBox>
#include <QDropEvent>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

#include "app/AppContext.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "decoding/FilePicture.h"
#include "decoding/PictureDecoder.h"
#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "pictures/ImageFiles.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/widgets/PictureWidget.h"
#include "platform/services/MessageBoxes.h"
#include "support/ManualClock.h"
#include "support/Memory.h"
#include "support/QtHarness.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {
namespace {

/// The real program under the offscreen platform, with scripted boxes.
class QtViewer : public testing::Test, public test::QtHarness {
protected:
    /// Lets the work that user input posted to the event loop run.
    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
        }
    }
    void TearDown() override { QApplication::processEvents(); }
    frmImageViewer& viewer() { return app.frmImageViewer(); }
    /// Starts the program and opens the Image Selector on a folder.
    void openImageSelectorOn(const std::string& path) {
        settings.values[{kProgramTitle, Settings::kSection, "ImageSelectorDrive"}] = "/";
        settings.values[{kProgramTitle, Settings::kSection, "ImageSelectorPath"}] = path;
        settings.values[{kProgramTitle, Settings::kSection, "ImageSelectorFiles"}] = path;
        Main(app);
        app.frmImageSelector().form().show();
        settle();
    }
    /// Starts the program, opens the Image Selector on a folder and clicks
    /// its first file; returns the file list.
    QListView* clickFirstFileIn(const std::string& path) {
        openImageSelectorOn(path);
        auto* files = qobject_cast<QListView*>(backend.widgetFor(app.frmImageSelector().File1));
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualRect(files->model()->index(0, 0)).center());
        settle();
        return files;
    }

    test::TempFolder folder;
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

TEST_F(QtViewer, TheWheelOverThePictureScrollsItDownOrAcrossWithShiftOrWhenOnlyWider) {
    Main(app);
    test::writeJpeg(folder.file("large.jpg"), 3000, 3000);
    test::writeJpeg(folder.file("wide.jpg"), 3000, 100);
    QWidget* window = backend.widgetFor(viewer().form());
    QWidget* picture = backend.widgetFor(viewer().Image1);
    // What no control under the pointer takes reaches the window.
    auto turn = [&](Qt::KeyboardModifiers modifiers) {
        const QPoint at = window->rect().center();
        QWheelEvent wheel(at, window->mapToGlobal(at), QPoint(),
                          QPoint(0, -QWheelEvent::DefaultDeltasPerStep), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(window, &wheel);
    };
    app.CurrentFile = folder.file("large.jpg");
    viewer().LoadPic();
    const QPoint centred = picture->pos();
    turn(Qt::NoModifier);  // a notch towards the user
    EXPECT_LT(picture->y(), centred.y());
    EXPECT_EQ(picture->x(), centred.x());
    turn(Qt::ShiftModifier);
    EXPECT_LT(picture->x(), centred.x());

    app.CurrentFile = folder.file("wide.jpg");
    viewer().LoadPic();
    const int left = picture->x();
    turn(Qt::NoModifier);
    EXPECT_LT(picture->x(), left);
}

TEST_F(QtViewer, TheKeysOfTheFocusedFramePageThroughTheLineupAndScrollTheLargePicture) {
    Main(app);
    test::writeJpeg(folder.file("a.jpg"), 40, 30);
    test::writeJpeg(folder.file("wide.jpg"), 3000, 100);
    ListBox& lineup = app.frmLineupSelector().ListPictures;
    lineup.addItem(folder.file("wide.jpg"), 0);
    lineup.addItem(folder.file("a.jpg"), 0);
    lineup.setListIndex(0);
    viewer().GetPic();
    settle();
    // Keys go where the focus is, as the window system sends them.
    QWidget* focused = backend.widgetFor(viewer().form())->focusWidget();
    ASSERT_EQ(focused, backend.widgetFor(viewer().picBackground));
    QTest::keyClick(focused, Qt::Key_PageDown);
    EXPECT_EQ(app.CurrentFile, folder.file("wide.jpg"));
    QWidget* picture = backend.widgetFor(viewer().Image1);
    const int left = picture->x();
    QTest::keyClick(focused, Qt::Key_Right);
    EXPECT_LT(picture->x(), left);
    QTest::keyClick(focused, Qt::Key_Home);
    EXPECT_EQ(app.CurrentFile, folder.file("a.jpg"));
}

TEST_F(QtViewer, TabGoesRoundTheControlsThatTakeInputAndPassesThePanelsBy) {
    Main(app);
    settle();
    QWidget* window = backend.widgetFor(viewer().form());
    QWidget* frame = backend.widgetFor(viewer().picBackground);
    ASSERT_EQ(window->focusWidget(), frame);
    std::vector<QWidget*> stops;
    do {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        stops.push_back(window->focusWidget());
    } while (stops.back() != frame && stops.size() < 30);
    EXPECT_EQ(stops.back(), frame);  // round again
    for (PictureBox* panel : {&viewer().Picture1, &viewer().picVscroll}) {
        EXPECT_EQ(std::count(stops.begin(), stops.end(), backend.widgetFor(*panel)), 0)
            << panel->name();
    }
    EXPECT_EQ(std::count(stops.begin(), stops.end(), backend.widgetFor(viewer().Check1)), 1);
}

// A photo of 102 million pixels is shown at its natural size, with no more
// memory than its pixels and a quarter.
#ifndef GLIMPA_SANITIZED
TEST_F(QtViewer, AHundredMegapixelPhotoShowsAtItsNaturalSizeInItsPixelsAndAQuarter) {
    constexpr int kWidth = 12000;
    constexpr int kHeight = 8500;
    test::writeLargeJpeg(folder.file("large.jpg"), kWidth, kHeight);
    // Its neighbour in the lineup, as large, is too large to prepare ahead.
    std::filesystem::copy_file(folder.file("large.jpg"), folder.file("next.jpg"));
    Main(app);
    settle();
    ListBox& lineup = app.frmLineupSelector().ListPictures;
    lineup.addItem(folder.file("large.jpg"));
    lineup.addItem(folder.file("next.jpg"));
    lineup.setListIndex(0);
    test::resetPeakMemory();
    const long before = test::processMegabytes("VmRSS");
    viewer().GetPic();
    settle();
    decoder.waitUntilIdle();
    EXPECT_TRUE(messages.prompts.empty());
    auto* picture = qobject_cast<PictureWidget*>(backend.widgetFor(viewer().Image1));
    EXPECT_EQ(picture->size(), QSize(kWidth, kHeight));
    EXPECT_EQ(picture->displayImage().size(), QSize(kWidth, kHeight));
    const long pixelMegabytes = static_cast<long>(kWidth) * kHeight * 4 / (1024 * 1024);
    EXPECT_LE(test::processMegabytes("VmHWM") - before, pixelMegabytes * 5 / 4);
}
#endif

TEST_F(QtViewer, UnfittingDrawsThePictureScaledUntilTheWorkerHasDecodedItWhole) {
    Main(app);
    test::writeJpeg(folder.file("photo.jpg"), 4000, 3000);
    viewer().Check1.setValue(CheckBox::Checked);
    app.CurrentFile = folder.file("photo.jpg");
    viewer().LoadPic();
    settle();
    auto* picture = qobject_cast<PictureWidget*>(backend.widgetFor(viewer().Image1));
    viewer().Check1.setValue(CheckBox::Unchecked);
    EXPECT_EQ(picture->size(), QSize(4000, 3000));
    EXPECT_LT(picture->displayImage().width(), 4000);  // no decoding in the paint
    decoder.waitUntilIdle();
    settle();
    EXPECT_EQ(picture->displayImage().size(), QSize(4000, 3000));
}

TEST_F(QtViewer, AFittedPictureWhoseFileChangedOrWentIsLoadedAgainRatherThanEnlarged) {
    Main(app);
    const std::string photo = folder.file("photo.jpg");
    test::writeJpeg(photo, 4000, 3000);
    viewer().Check1.setValue(CheckBox::Checked);
    app.CurrentFile = photo;
    viewer().LoadPic();
    settle();
    test::writeJpeg(photo, 3000, 2000);
    viewer().Check1.setValue(CheckBox::Unchecked);
    EXPECT_EQ(viewer().Image1.picture()->widthPx(), 3000);  // the file as it is now
    viewer().Check1.setValue(CheckBox::Checked);
    settle();
    std::filesystem::remove(photo);
    viewer().Check1.setValue(CheckBox::Unchecked);
    EXPECT_EQ(messages.log,
              (std::vector<std::string>{"beep",
                                        "box:An error has occurred loading this Image.  It may be "
                                        "corrupted."}));
    EXPECT_EQ(viewer().Image1.picture(), nullptr);
    EXPECT_EQ(app.CurrentFile, "");
}

TEST_F(QtViewer, ACoarsePictureThatCannotBeHadWholeOnceTheUserPausesIsLoadedAgain) {
    Main(app);
    settle();
    const std::string photo = folder.file("photo.jpg");
    test::writeJpeg(photo, 4000, 3000);
    app.CurrentFile = photo;
    viewer().LoadPic();
    viewer().LoadPic();  // right after the one before: coarsely, at first
    std::filesystem::remove(photo);
    for (int round = 0; round < 3; ++round) {
        settle();
        decoder.waitUntilIdle();
    }
    settle();
    EXPECT_EQ(messages.log,
              (std::vector<std::string>{"beep",
                                        "box:An error has occurred loading this Image.  It may be "
                                        "corrupted."}));
    EXPECT_EQ(viewer().Image1.picture(), nullptr);
}

// Run again by the test command at other screen densities (QT_SCALE_FACTOR).
TEST_F(QtViewer, AFittedPictureIsPaintedAsItWasDecodedWithoutScalingAgain) {
    Main(app);
    settle();
    viewer().Check1.setValue(CheckBox::Checked);
    for (const QSize size : {QSize(6000, 4000), QSize(4000, 6000), QSize(7001, 2999)}) {
        test::writeJpeg(folder.file("photo.jpg"), size.width(), size.height());
        app.CurrentFile = folder.file("photo.jpg");
        viewer().LoadPic();
        const auto& decoded = dynamic_cast<const FilePicture&>(*viewer().Image1.picture());
        const qint64 decodedBytes = decoded.heldBytes();
        settle();
        const QImage& painted =
            qobject_cast<PictureWidget*>(backend.widgetFor(viewer().Image1))->displayImage();
        EXPECT_EQ(painted.sizeInBytes(), decodedBytes) << size.width();
        EXPECT_EQ(decoded.heldBytes(), decodedBytes) << size.width();
    }
}

// Run again by the test command at other screen densities (QT_SCALE_FACTOR).
TEST_F(QtViewer, APictureAtItsNaturalSizeIsShownPixelForPixelOnAnyScreen) {
    Main(app);
    settle();
    const QImage photo = test::photoLike(3000, 1800, 5).convertToFormat(QImage::Format_RGB888);
    test::writeBytes(folder.file("photo.bmp"), test::bmpBytesOf(photo, 24, false));
    app.CurrentFile = folder.file("photo.bmp");
    viewer().LoadPic();
    settle();
    auto* picture = qobject_cast<PictureWidget*>(backend.widgetFor(viewer().Image1));
    const qreal density = picture->devicePixelRatioF();
    EXPECT_EQ(QSizeF(picture->size()) * density, QSizeF(photo.size()));
    // A patch of the widget, read back in the screen's pixels, is the
    // photo's patch there.
    const QRect patch(996, 600, 48, 48);
    const QImage shown =
        picture
            ->grab(
                QRectF(QPointF(patch.topLeft()) / density, QSizeF(patch.size()) / density).toRect())
            .toImage()
            .convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(shown.size(), patch.size());
    EXPECT_EQ(shown, photo.copy(patch));
}

TEST_F(QtViewer, AFittedPictureShowsNoScrollBarsInTheMaximizedWindow) {
    Main(app);
    test::writeJpeg(folder.file("photo.jpg"), 5640 / 4, 3172 / 4);
    app.CurrentFile = folder.file("photo.jpg");
    viewer().LoadPic();
    viewer().Check1.setValue(CheckBox::Checked);
    settle();
    EXPECT_TRUE(viewer().Image1.stretch());
    EXPECT_FALSE(backend.widgetFor(viewer().VScroll1)->isVisible());
    EXPECT_FALSE(backend.widgetFor(viewer().HScroll1)->isVisible());
}

TEST_F(QtViewer, FilesDroppedOnTheMainWindowOrTheLineupSelectorAreOpenedAndTheFirstShown) {
    Main(app);
    settle();
    // The last name is not UTF-8 (a file manager sends its bytes percent-encoded)
    // nor one the Image Selector lists: a file dropped is known by its content.
    for (const char* name : {"a.jpg", "b.jpg", "c\xE9.JPEG"}) {
        test::writeJpeg(folder.file(name), 20, 10);
    }
    auto urls = [&](std::initializer_list<const char*> names) {
        QByteArray list;
        for (const char* name : names) {
            list += "file://" +
                    QByteArray::fromStdString(folder.file(name)).toPercentEncoding("/") + "\r\n";
        }
        return list;
    };
    // As the window system delivers a drag: to the window, over a control in it.
    auto offer = [&](QWidget* over, const QMimeData& data, bool drop) {
        QWindow* window = over->window()->windowHandle();
        const QPoint at = over->mapTo(over->window(), over->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        if (enter.isAccepted() && drop) {
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window, &dropped);
        }
        return enter.isAccepted();
    };
    auto counter = [&] {
        return viewer().lblActiveImage.caption() + " of " + viewer().lblImageCount.caption();
    };
    QWidget* frame = backend.widgetFor(viewer().picBackground);
    // Not a file of this machine: refused, even when one of that path is here.
    for (const QString& elsewhere :
         {QStringLiteral("https://example.org/c.jpg"),
          "file://fileserver" + QString::fromStdString(folder.file("a.jpg"))}) {
        QMimeData remote;
        remote.setUrls({QUrl(elsewhere)});
        EXPECT_FALSE(offer(frame, remote, true)) << elsewhere.toStdString();
    }

    test::writeBytes(folder.file("notes.txt"), "text");
    QMimeData files;
    files.setData("text/uri-list", urls({"a.jpg", "b.jpg", "notes.txt"}));
    ASSERT_TRUE(offer(frame, files, true));
    // Nothing is opened, and no box asks anything, before the drop has ended.
    EXPECT_TRUE(app.CurrentFile.empty());
    EXPECT_TRUE(messages.prompts.empty());
    settle();
    EXPECT_EQ(app.CurrentFile, folder.file("a.jpg"));
    EXPECT_EQ(counter(), "1 of 2");
    EXPECT_EQ(messages.prompts.size(), 1U);  // about the file that is no picture

    viewer().Toolbar1.click("Show");
    settle();
    QMimeData more;
    more.setData("text/uri-list", urls({"c\xE9.JPEG"}));
    ASSERT_TRUE(offer(backend.widgetFor(app.frmLineupSelector().ListPictures), more, true));
    // A box that opens before the drop is taken (a slideshow's message in the
    // same turn) sees nothing opened behind it.
    QMessageBox box(QMessageBox::Warning, "GLIMPA", "question");
    std::string behindTheBox;
    QTimer::singleShot(0, [&] {
        settle();
        behindTheBox = app.CurrentFile;
        box.accept();
    });
    box.exec();
    EXPECT_EQ(behindTheBox, folder.file("a.jpg"));
    settle();
    EXPECT_EQ(app.CurrentFile, folder.file("c\xE9.JPEG"));
    EXPECT_EQ(counter(), "1 of 3");
}

TEST_F(QtViewer, TheImageSelectorsListsFollowOneAnotherOnARealFolderTree) {
    std::filesystem::create_directories(folder.path() / "trip" / "day 1");
    const std::string longName = "a folder of a long name, longer than the list is wide";
    std::filesystem::create_directories(folder.path() / longName);
    // A folder of thousands of folders opens at once, in little memory.
    for (int i = 0; i < 3000; ++i) {
        std::filesystem::create_directories(folder.path() / std::to_string(10000 + i));
    }
    test::writeJpeg(folder.path() / "trip" / "beach.jpg", 20, 10);
    test::writeGif(folder.path() / "trip" / "wave.GIF", 10, 10);
    const std::string top = folder.path().string();
    settings.values[{kProgramTitle, Settings::kSection, "ImageSelectorDrive"}] = "/";
    settings.values[{kProgramTitle, Settings::kSection, "ImageSelectorPath"}] = top;
    settings.values[{kProgramTitle, Settings::kSection, "ImageSelectorFiles"}] = top;
    Main(app);
    [[maybe_unused]] const long before = test::processMegabytes("VmRSS");
    frmImageSelector& selector = app.frmImageSelector();
    selector.form().show();
    settle();
#ifndef GLIMPA_SANITIZED
    EXPECT_LT(test::processMegabytes("VmRSS") - before, 20);
#endif

    auto* drives = qobject_cast<QComboBox*>(backend.widgetFor(selector.Drive1));
    auto* folders = qobject_cast<QListWidget*>(backend.widgetFor(selector.Dir1));
    auto* files = qobject_cast<QListView*>(backend.widgetFor(selector.File1));
    ASSERT_TRUE(drives && folders && files);
    EXPECT_EQ(drives->currentText().toStdString(), selector.Drive1.drive());
    // The folder's path shows from the drive down, the folder within view.
    EXPECT_EQ(folders->indexAt(QPoint(2, 2)).row(), 0);
    const QRect current = folders->visualItemRect(folders->currentItem());
    EXPECT_TRUE(current.top() >= 0 && current.bottom() < folders->viewport()->height());
    // A long name that is not the last can still be read to its end.
    EXPECT_GE(folders->horizontalScrollBar()->maximum() + folders->viewport()->width(),
              folders->fontMetrics().horizontalAdvance(QString::fromStdString(longName)));
    const auto trip = folders->findItems("trip", Qt::MatchEndsWith);
    ASSERT_EQ(trip.size(), 1);
    folders->setCurrentItem(trip.front());
    QTest::keyClick(folders, Qt::Key_Return);
    settle();
    EXPECT_EQ(selector.Dir1.path(), top + "/trip");
    EXPECT_EQ(selector.File1.path(), top + "/trip");
    EXPECT_FALSE(folders->findItems("day 1", Qt::MatchEndsWith).isEmpty());
    EXPECT_EQ(files->model()->rowCount(), 2);

    // A click on a file previews it in the main window.
    const QRect row = files->visualRect(files->model()->index(1, 0));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, row.center());
    settle();
    EXPECT_EQ(app.CurrentFile, top + "/trip/wave.GIF");
    EXPECT_EQ(selector.form().caption(), "GLIMPA Image Selector  (1)");
}

TEST_F(QtViewer, ShowAgainBringsTheLineupSelectorToTheFrontWithTheListFocused) {
    Main(app);
    ListBox& lineup = app.frmLineupSelector().ListPictures;
    for (int i = 0; i < 3; ++i) {
        lineup.addItem("/p/" + std::to_string(i) + ".jpg", 0);
    }
    viewer().UpdateUI();
    viewer().Toolbar1.click("Show");
    settle();
    QWidget* selector = backend.widgetFor(app.frmLineupSelector().form());
    QWidget* main = backend.widgetFor(viewer().form());
    main->activateWindow();
    settle();
    ASSERT_FALSE(selector->isActiveWindow());

    viewer().Toolbar1.click("Show");
    settle();
    EXPECT_TRUE(selector->isActiveWindow());
    EXPECT_TRUE(backend.widgetFor(lineup)->hasFocus());
}

TEST_F(QtViewer, F1OpensTheHelpAtTheSectionOnTheWindowItIsPressedIn) {
    openImageSelectorOn(folder.path());
    app.frmLineupSelector().form().show();
    settle();
    for (Control* focused : {static_cast<Control*>(&viewer().picBackground),
                             static_cast<Control*>(&app.frmImageSelector().File1),
                             static_cast<Control*>(&app.frmLineupSelector().ListPictures)}) {
        QTest::keyClick(backend.widgetFor(*focused), Qt::Key_F1);
    }
    ASSERT_EQ(help.topics, (std::vector<std::string>{"main", "selector", "lineup"}));
    std::ifstream file(GLIMPA_SOURCE_DIR "/resources/help/HELPFILE.HLP");
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    for (const std::string& topic : help.topics) {
        EXPECT_NE(text.find("id=\"" + topic + "\""), std::string::npos) << topic;
    }
}

TEST_F(QtViewer, TheImageSelectorHasItsDesignSizeAndCannotBeResizedOrMaximized) {
    Main(app);
    viewer().Toolbar1.click("Select");
    QWidget* selector = backend.widgetFor(app.frmImageSelector().form());
    EXPECT_EQ(selector->size(), QSize(244, 358));
    EXPECT_EQ(selector->minimumSize(), selector->maximumSize());
    EXPECT_FALSE(selector->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(selector->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(QtViewer, TheCounterShowsTheFullestLineupsNumbersWhole) {
    Main(app);
    const std::string fullest = std::to_string(ListBox::kMaxRows);
    QWidget* panel = backend.widgetFor(viewer().Picture1);
    for (Label* label : {&viewer().lblActiveImage, &viewer().lblImageCount}) {
        label->setCaption(fullest);
        const QWidget* shown = backend.widgetFor(*label);
        EXPECT_GE(shown->width(),
                  shown->fontMetrics().horizontalAdvance(QString::fromStdString(fullest)));
        EXPECT_LE(shown->geometry().right(), panel->width());
    }
}

TEST_F(QtViewer, AWindowMadeSmallerThanItsSmallestSizeIsGivenThatSizeBack) {
    Main(app);
    QWidget* main = backend.widgetFor(viewer().form());
    main->setWindowState(Qt::WindowNoState);  // the user restores the maximized window
    QWidget* selector = backend.widgetFor(app.frmLineupSelector().form());
    app.frmLineupSelector().ListPictures.addItem("/p/0.jpg", 0);  // kept open by an entry
    viewer().UpdateUI();
    viewer().Toolbar1.click("Show");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(selector));
    // As the window system resizes them at the user's drag of an edge.
    main->resize(300, 200);
    selector->resize(100, 100);
    auto outer = [](QWidget* window) { return window->frameGeometry().size(); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return outer(main) == QSize(593, 467); }, 3000))
        << outer(main).width() << " x " << outer(main).height();
    EXPECT_TRUE(QTest::qWaitFor([&] { return outer(selector) == QSize(200, 200); }, 3000))
        << outer(selector).width() << " x " << outer(selector).height();
}

TEST_F(QtViewer, AWindowWithoutAUsableStoredPlaceIsLeftWhereTheWindowSystemPutsIt) {
    settings.values[{kProgramTitle, Settings::kSection, "LineupSelectorLeft"}] = "abc";
    settings.values[{kProgramTitle, Settings::kSection, "LineupSelectorTop"}] = "abc";
    Main(app);
    app.frmLineupSelector().form().show();
    EXPECT_FALSE(backend.widgetFor(app.frmLineupSelector().form())->testAttribute(Qt::WA_Moved));
    app.frmImageSelector().form().show();  // placed at its default, 1000 twips
    EXPECT_TRUE(backend.widgetFor(app.frmImageSelector().form())->testAttribute(Qt::WA_Moved));
}

TEST_F(QtViewer, AStoredSizeLargerThanTheDesktopGivesAWindowAsLargeAsTheDesktopAndIsSavedSo) {
    // As a damaged settings file may hold: a window larger than any screen,
    // whose drawing alone would take gigabytes.
    for (const char* key : {"LineupSelectorWidth", "LineupSelectorHeight"}) {
        settings.values[{kProgramTitle, Settings::kSection, key}] = "400000000";
    }
    Main(app);
    app.frmLineupSelector().ListPictures.addItem("/p/0.jpg", 0);
    viewer().UpdateUI();
    viewer().Toolbar1.click("Show");
    QWidget* selector = backend.widgetFor(app.frmLineupSelector().form());
    const QWidget* list = backend.widgetFor(app.frmLineupSelector().ListPictures);
    // The list fills the window once the window system has answered.
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->size() == selector->size(); }));
    const QSize desktop = selector->screen()->virtualSize();
    EXPECT_LE(selector->frameGeometry().width(), desktop.width());
    EXPECT_LE(selector->frameGeometry().height(), desktop.height());

    backend.widgetFor(viewer().form())->close();
    auto stored = [&](const char* key) {
        return settings.values[{kProgramTitle, Settings::kSection, key}];
    };
    EXPECT_EQ(stored("LineupSelectorWidth"),
              std::to_string(selector->frameGeometry().width() * 15));
    EXPECT_EQ(stored("LineupSelectorHeight"),
              std::to_string(selector->frameGeometry().height() * 15));
}

TEST_F(QtViewer, TabReachesTheFileListWithoutAPreviewAndEnterAddsOneFileAfterAnother) {
    for (const char* name : {"a.jpg", "b.jpg"}) {
        test::writeJpeg(folder.file(name), 20, 10);
    }
    openImageSelectorOn(folder.path());
    auto* files = qobject_cast<QListView*>(backend.widgetFor(app.frmImageSelector().File1));
    // Keys go where the focus is, as the window system sends them.
    auto type = [&](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key);
        settle();
    };
    while (QApplication::focusWidget() != files) {
        type(Qt::Key_Tab);
    }
    EXPECT_EQ(app.CurrentFile, "");  // reaching the list is no choice of a file
    type(Qt::Key_Return);
    clock.advance(250);  // the status shown while adding goes, and the list is back
    type(Qt::Key_Down);
    type(Qt::Key_Return);
    EXPECT_EQ(app.frmLineupSelector().ListPictures.listCount(), 2);
}

TEST_F(QtViewer, CtrlASelectsEveryFileAndAddSelectedAddsThemAll) {
    for (int i = 0; i < 2000; ++i) {
        test::writeBytes(folder.file("IMG_" + std::to_string(i) + ".jpg"), "");
    }
    QListView* files = clickFirstFileIn(folder.path());
    frmImageSelector& selector = app.frmImageSelector();
    QTest::keyClick(files, Qt::Key_A, Qt::ControlModifier);
    settle();
    EXPECT_EQ(selector.File1.selectedCount(), 2000);
    EXPECT_EQ(selector.SelectedCount, 2000);
    messages.answer({msgbox::Ok});  // the first file's preview is no picture
    selector.cmdAdd.click();
    EXPECT_EQ(app.frmLineupSelector().ListPictures.listCount(), 2000);
}

/// The name a screen reader reads for a widget.
QString spokenName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

void expectNamed(QtBackend& backend, Control& control) {
    QWidget* widget = backend.widgetFor(control);
    ASSERT_NE(widget, nullptr) << control.name();
    const bool picture = control.kind() == ControlKind::Image && widget->accessibleName().isEmpty();
    const bool described = !widget->accessibleDescription().isEmpty();
    EXPECT_TRUE(!spokenName(widget).isEmpty() || described || picture) << control.name();
    for (Control* child : control.children()) {
        expectNamed(backend, *child);
    }
}

TEST_F(QtViewer, ScreenReadersFindEveryControlByName) {
    Main(app);
    viewer().lblActiveImage.setCaption("");  // an empty counter is still named
    for (Control* control : viewer().form().children()) {
        expectNamed(backend, *control);
    }
    for (Control* control : app.frmImageSelector().form().children()) {
        expectNamed(backend, *control);
    }
    expectNamed(backend, app.frmLineupSelector().ListPictures);
    // Each window is announced as a window, by its title.
    for (Form* form :
         {&viewer().form(), &app.frmImageSelector().form(), &app.frmLineupSelector().form()}) {
        QAccessibleInterface* window =
            QAccessible::queryAccessibleInterface(backend.widgetFor(*form));
        EXPECT_EQ(window->role(), QAccessible::Window) << form->name();
        EXPECT_EQ(window->text(QAccessible::Name).toStdString(), form->caption());
    }
    const auto buttons = backend.widgetFor(viewer().Toolbar1)->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 6);
    EXPECT_EQ(spokenName(buttons[0]), "Select File(s) for Lineup");
    EXPECT_EQ(spokenName(backend.widgetFor(viewer().cmdNext)), "Next Image");
    EXPECT_EQ(spokenName(backend.widgetFor(viewer().ProgressBar1)), "Slideshow countdown");
}

}  // namespace
}  // namespace glimpa

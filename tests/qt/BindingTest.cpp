#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "decoding/FilePicture.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/DriveListBox.h"
#include "platform/controls/Form.h"
#include "platform/controls/Image.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/Slider.h"
#include "platform/controls/Toolbar.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/widgets/PictureWidget.h"
#include "support/Fakes.h"

namespace glimpa {
namespace {

class Binding : public testing::Test {
protected:
    void SetUp() override {
        form.setClientSize(9000, 6000);
        form.setKeyPreview(true);
        bar.move(0, 3000, 3000, 255);
        bar.setMax(100);
        box.move(0, 0, 1500, 300);
        label.move(0, 600, 1500, 300);
        slider.move(3000, 0, 1500, 375);
        list.move(0, 4000, 4000, 1500);
        image.move(5000, 1000, 1500, 1500);
        toolbar.setImageList({"select", "clear"});
        toolbar.addButton({"Select", "Pick", 1});
        toolbar.addButton({"Clear", "Wipe", 2});
        toolbar.move(0, 0, 9000, 600);
        bar.Change.connect([this] { ++barChanges; });
        box.Click.connect([this] { ++boxClicks; });
        slider.Change.connect([this] { ++sliderChanges; });
        slider.MouseDown.connect([this] { ++sliderPresses; });
        toolbar.ButtonClick.connect([this](const ToolbarButton& b) { clicked.push_back(b.key); });
        list.KeyUp.connect([this](int code, int) { keyUps.push_back(code); });
        form.KeyPress.connect([this](int& key) { keys.push_back(key); });
        backend.attach(form);
        form.show();
    }
    void TearDown() override { backend.detach(form); }

    template <typename W>
    W* widget(const Control& control) {
        return qobject_cast<W*>(backend.widgetFor(control));
    }

    test::FakeHelp help;
    QtBackend backend{help};
    Form form{"form"};
    Toolbar toolbar{"toolbar", &form};
    HScrollBar bar{"bar", &form};
    CheckBox box{"box", &form};
    Label label{"label", &form};
    Slider slider{"slider", &form};
    ListBox list{"list", &form};
    Image image{"image", &form};
    int barChanges = 0;
    int boxClicks = 0;
    int sliderChanges = 0;
    int sliderPresses = 0;
    std::vector<std::string> clicked;
    std::vector<int> keyUps;
    std::vector<int> keys;
};

TEST_F(Binding, ScrollBarValueTravelsBothWaysWithOneChangeEach) {
    auto* widget = this->widget<QScrollBar>(bar);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), QRect(0, 200, 200, 17));
    bar.setValue(30);
    EXPECT_EQ(widget->value(), 30);
    EXPECT_EQ(barChanges, 1);
    widget->setValue(70);
    EXPECT_EQ(bar.value(), 70);
    EXPECT_EQ(barChanges, 2);
    bar.setMax(-5);
    EXPECT_EQ(widget->minimum(), -5);
    EXPECT_EQ(widget->maximum(), 0);
}

TEST_F(Binding, CheckBoxClickAndModelValueStayInStepWithoutEchoes) {
    auto* widget = this->widget<QCheckBox>(box);
    widget->click();
    EXPECT_EQ(box.value(), CheckBox::Checked);
    EXPECT_TRUE(widget->isChecked());
    EXPECT_EQ(boxClicks, 1);
    box.setValue(CheckBox::Unchecked);
    EXPECT_FALSE(widget->isChecked());
    EXPECT_EQ(boxClicks, 2);
    widget->toggle();  // as an assistive tool does it, without a click
    EXPECT_EQ(box.value(), CheckBox::Checked);
    EXPECT_EQ(boxClicks, 3);
}

TEST_F(Binding, SliderReportsPressBeforeChangeAndTakesModelValues) {
    auto* widget = this->widget<QSlider>(slider);
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(2, 5));
    EXPECT_EQ(sliderPresses, 1);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(2, 5));
    widget->setValue(4);
    EXPECT_EQ(slider.value(), 4);
    EXPECT_EQ(sliderChanges, 1);
    slider.setValue(7);
    EXPECT_EQ(widget->value(), 7);
    EXPECT_EQ(sliderChanges, 2);
}

TEST_F(Binding, ToolbarButtonsFollowTheirModelAndReportClicksByKey) {
    auto buttons = widget<QWidget>(toolbar)->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[1]->toolTip(), "Wipe");
    buttons[1]->click();
    toolbar.setButtonEnabled("Clear", false);
    EXPECT_FALSE(buttons[1]->isEnabled());
    buttons[1]->click();
    toolbar.setButtonToolTip("Select", "Choose");
    EXPECT_EQ(buttons[0]->toolTip(), "Choose");
    EXPECT_EQ(clicked, std::vector<std::string>{"Clear"});
}

TEST_F(Binding, AnAssistiveToolsActionsBehindAModalBoxChangeNothingUntilItIsAnswered) {
    list.addItem("/p/b.jpg", 0);
    list.addItem("/p/a.jpg", 0);
    list.setListIndex(0);
    QApplication::processEvents();  // the rows reach the view
    auto* pick = widget<QWidget>(toolbar)->findChildren<QToolButton*>().front();
    auto press = [pick] {
        QAccessible::queryAccessibleInterface(pick)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        return QTest::qWaitFor([pick] { return !pick->isDown(); });
    };
    QMessageBox question(QMessageBox::Question, "GLIMPA", "Remove?", QMessageBox::Yes);
    question.setWindowModality(Qt::ApplicationModal);
    question.show();
    ASSERT_TRUE(press());
    QAccessible::queryAccessibleInterface(widget<QCheckBox>(box))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    QAccessible::queryAccessibleInterface(widget<QSlider>(slider))
        ->valueInterface()
        ->setCurrentValue(3);
    QAccessible::queryAccessibleInterface(widget<QListView>(list))->tableInterface()->selectRow(1);
    QAccessible::queryAccessibleInterface(widget<QScrollBar>(bar))
        ->valueInterface()
        ->setCurrentValue(40);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(box.value(), CheckBox::Unchecked);
    EXPECT_FALSE(widget<QCheckBox>(box)->isChecked());
    EXPECT_EQ(slider.value(), 0);
    EXPECT_EQ(widget<QSlider>(slider)->value(), 0);
    EXPECT_EQ(list.listIndex(), 0);
    EXPECT_FALSE(widget<QListView>(list)->selectionModel()->isRowSelected(1));
    EXPECT_EQ(barChanges, 0);
    EXPECT_EQ(widget<QScrollBar>(bar)->value(), 0);
    question.close();
    ASSERT_TRUE(press());
    EXPECT_EQ(clicked, std::vector<std::string>{"Select"});
}

TEST_F(Binding, ListRowsSelectionAndKeyReleasesTravel) {
    auto* view = widget<QListView>(list);
    list.addItem("/p/b.jpg", 0);
    list.addItem("/p/a.jpg", 0);
    int clicks = 0;
    list.Click.connect([&] { ++clicks; });
    view->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
    view->setFocus(Qt::TabFocusReason);  // the focus arriving chooses no row
    ASSERT_TRUE(view->hasFocus());
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(clicks, 0);
    list.setListIndex(1);
    EXPECT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(view->currentIndex().row(), 1);
    view->setCurrentIndex(view->model()->index(0, 0));
    EXPECT_EQ(list.listIndex(), 0);
    // Every arrow moves the selection, Left and Right as Up and Down.
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(list.listIndex(), 1);
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(list.listIndex(), 0);
    keyUps.clear();
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(keyUps, (std::vector<int>{13, 38}));
    // The release of a key pressed elsewhere (a message box closed by Enter)
    // is not the list's.
    QTest::keyRelease(view, Qt::Key_Return);
    EXPECT_EQ(keyUps, (std::vector<int>{13, 38}));
}

TEST_F(Binding, ARowChosenByTheProgramIsScrolledIntoView) {
    auto* view = widget<QListView>(list);
    std::deque<std::string> rows;
    for (int i = 0; i < 500; ++i) {
        rows.push_back("/p/" + std::to_string(i) + ".jpg");
    }
    list.setRows(std::move(rows));
    list.setListIndex(400);
    const QRect row = view->visualRect(view->model()->index(400, 0));
    EXPECT_TRUE(view->viewport()->rect().contains(row)) << row.y();
}

TEST_F(Binding, AKeyHeldOverSlowPicturesStopsWhenLetGo) {
    auto* view = widget<QListView>(list);
    for (const char* path : {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg", "/p/e.jpg"}) {
        list.addItem(path, list.listCount());
    }
    list.setListIndex(0);
    view->setFocus();
    QElapsedTimer clock;
    clock.start();
    // Key events carry the window system's time; this press is handled at once.
    const auto down = [&](qint64 madeAtMs, bool repeat) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), repeat);
        press.setTimestamp(static_cast<quint64>(madeAtMs));
        QApplication::sendEvent(view, &press);
    };
    constexpr qint64 kMadeAt = 50000;
    down(kMadeAt, false);
    EXPECT_EQ(list.listIndex(), 1);
    // Repeats that waited a second behind a slow picture are let go; a press
    // of its own is not, however late.
    down(kMadeAt - 1000, true);
    down(kMadeAt - 960, true);
    EXPECT_EQ(list.listIndex(), 1);
    down(kMadeAt - 920, false);
    EXPECT_EQ(list.listIndex(), 2);
    down(kMadeAt + clock.elapsed(), true);
    EXPECT_EQ(list.listIndex(), 3);
}

TEST_F(Binding, ALongRowAnywhereInTheListCanBeScrolledToItsEnd) {
    auto* view = widget<QListView>(list);
    const std::string longPath = "/p/a folder of a long name, longer than the list is wide/x.jpg";
    list.addItem("/p/s.jpg", 0);
    list.addItem(longPath, 0);
    QApplication::processEvents();
    EXPECT_GE(view->horizontalScrollBar()->maximum() + view->viewport()->width(),
              view->fontMetrics().horizontalAdvance(QString::fromStdString(longPath)));
}

TEST(DriveBinding, OpeningTheListReadsTheDrivesAgain) {
    std::vector<std::string> mounted{"/"};
    test::FakeHelp help;
    QtBackend backend{help};
    Form form("form");
    DriveListBox drives("Drive1", &form, [&] { return mounted; });
    backend.attach(form);
    form.show();
    auto* box = qobject_cast<QComboBox*>(backend.widgetFor(drives));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->count(), 1);
    mounted.push_back("/run/media/me/stick");
    box->showPopup();
    EXPECT_EQ(box->count(), 2);
    box->hidePopup();
    backend.detach(form);
}

TEST_F(Binding, FormMirrorsCaptionAndSizeAndAsksBeforeClosing) {
    auto* window = widget<QWidget>(form);
    form.setCaption("GLIMPA No Active Image");
    EXPECT_EQ(window->windowTitle(), "GLIMPA No Active Image");
    EXPECT_TRUE(window->isVisible());
    int asked = 0;
    form.setUnloadRequestHandler([&] {
        ++asked;
        return false;
    });
    window->close();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Binding, KeyPreviewSeesEachCharacterOnce) {
    auto* child = widget<QWidget>(list);
    child->setFocus();
    QTest::keyClick(child, Qt::Key_A);
    for (Qt::Key other : {Qt::Key_Right, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Delete}) {
        QTest::keyClick(child, other);
    }
    // Held with Alt or Ctrl a key is a shortcut (Alt+A presses "Add All"), not a character.
    QTest::keyClick(child, Qt::Key_A, Qt::AltModifier);
    QTest::keyClick(child, Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(child, Qt::Key_Escape);
    QTest::keyClick(child, Qt::Key_F1);
    EXPECT_EQ(keys, (std::vector<int>{'a', 0x1b}));
}

TEST_F(Binding, StretchedPictureIsScaledSmoothlyOnceToTheWidgetSize) {
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(Qt::black);
    for (int x = 2; x < 4; ++x) {
        for (int y = 0; y < 4; ++y) {
            source.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    image.setPicture(std::make_shared<FilePicture>(source.size(), source));
    auto* widget = this->widget<PictureWidget>(image);
    EXPECT_EQ(widget->size(), QSize(4, 4));
    EXPECT_EQ(&widget->displayImage(), &widget->displayImage());

    image.setStretch(true);
    image.setWidth(1200);
    image.setHeight(1200);
    const QImage& scaled = widget->displayImage();
    EXPECT_EQ(scaled.size(), QSize(80, 80) * widget->devicePixelRatioF());
    // Smooth scaling leaves grey between the black and the white halves.
    const QRgb middle = scaled.pixel(scaled.width() / 2, 10);
    EXPECT_GT(qGray(middle), 20);
    EXPECT_LT(qGray(middle), 235);
    EXPECT_EQ(&scaled, &widget->displayImage());
}

}  // namespace
}  // namespace glimpa

#include "image_selector/frmImageSelector.h"
#include "support/ViewerFixture.h"
#include "viewer/ToolKey.h"

namespace glimpa {
namespace {

class Slideshow : public test::ViewerFixture {
protected:
    void start(int seconds) {
        viewer->Slider1.setValue(seconds);
        viewer->Toolbar1.click("StartStop");
    }
    float bar() { return viewer->ProgressBar1.value(); }
    int active() { return lineup().listIndex(); }
};

TEST_F(Slideshow, AtZeroSecondsItCannotStart) {
    fillLineup(3);
    viewer->UpdateUI();
    viewer->Toolbar1.click("StartStop");
    EXPECT_FALSE(viewer->Timer1.enabled());
    EXPECT_FALSE(viewer->Toolbar1.button("StartStop")->enabled);
}

TEST_F(Slideshow, TheBarRunsDownWithTheIntervalAndEachAdvanceRefillsIt) {
    fillLineup(3);
    lineup().setListIndex(0);
    viewer->GetPic();
    start(3);
    EXPECT_TRUE(viewer->Timer1.enabled());
    EXPECT_EQ(viewer->Timer1.interval(), 3000);
    EXPECT_EQ(viewer->ProgressBar1.max(), 30);
    EXPECT_EQ(bar(), 30);
    EXPECT_EQ(viewer->Toolbar1.button("StartStop")->image, pictureNumber(ToolPicture::Stop));
    EXPECT_EQ(viewer->Toolbar1.button("StartStop")->toolTip, "Stop the Slideshow");
    for (const char* key : {"Select", "Clear", "Trash", "TrashAll", "Show"}) {
        EXPECT_FALSE(viewer->Toolbar1.button(key)->enabled) << key;
    }
    EXPECT_FALSE(viewer->cmdNext.enabled());
    EXPECT_TRUE(viewer->Slider1.enabled());

    h.clock.advance(1500);
    EXPECT_EQ(bar(), 15);
    h.clock.advance(1400);
    EXPECT_EQ(bar(), 1);
    EXPECT_EQ(active(), 0);
    h.clock.advance(100);
    EXPECT_EQ(active(), 1);
    EXPECT_EQ(h.app.CurrentFile, folder.file("1.jpg"));
    EXPECT_EQ(bar(), 30);
    EXPECT_EQ(viewer->ActiveIndex, 0);  // the slideshow does not go through GetPic

    h.clock.advance(6000);  // 2, then wrap to 0
    EXPECT_EQ(active(), 0);
}

TEST_F(Slideshow, ARefreshThatStartsTheCountAgainRefillsTheBar) {
    fillLineup(3);
    lineup().setListIndex(0);
    viewer->GetPic();
    start(3);
    h.clock.advance(1500);
    EXPECT_EQ(bar(), 15);
    viewer->Check1.setValue(CheckBox::Checked);  // a refresh: the advance count starts again
    EXPECT_EQ(bar(), 30);
    h.clock.advance(2900);
    EXPECT_EQ(bar(), 1);
    EXPECT_EQ(active(), 0);
    h.clock.advance(100);
    EXPECT_EQ(active(), 1);
}

TEST_F(Slideshow, StoppingEmptiesTheBarAtOnce) {
    fillLineup(2);
    start(2);
    h.clock.advance(500);
    viewer->Toolbar1.click("StartStop");
    EXPECT_FALSE(viewer->Timer1.enabled());
    EXPECT_EQ(bar(), 0);
    EXPECT_EQ(viewer->Toolbar1.button("StartStop")->toolTip, "Start the Slideshow");
    h.clock.advance(10000);
    EXPECT_EQ(bar(), 0);
    EXPECT_EQ(active(), -1);
}

TEST_F(Slideshow, ASingleEntryIsShownAgainAtEveryAdvance) {
    fillLineup(2);
    viewer->Slider1.setValue(1);
    h.messages.answer({msgbox::Yes});
    lineup().setListIndex(0);
    viewer->GetPic();
    viewer->Toolbar1.click("Trash");
    ASSERT_EQ(lineup().listCount(), 1);
    viewer->Toolbar1.click("StartStop");
    h.clock.advance(1000);
    EXPECT_EQ(h.app.CurrentFile, folder.file("1.jpg"));
    h.pointer.changes.clear();
    h.clock.advance(1000);
    EXPECT_EQ(h.pointer.changes, (std::vector<bool>{true, false}));  // loaded again
}

TEST_F(Slideshow, PressingTheSliderStopsAtOnceWithoutARefresh) {
    fillLineup(3);
    start(2);
    viewer->Slider1.MouseDown();
    EXPECT_FALSE(viewer->Timer1.enabled());
    EXPECT_FALSE(viewer->Timer2.enabled());
    EXPECT_EQ(bar(), 0);
    EXPECT_EQ(viewer->Toolbar1.button("StartStop")->toolTip, "Stop the Slideshow");
    EXPECT_FALSE(viewer->Toolbar1.button("Select")->enabled);
    viewer->Toolbar1.click("StartStop");  // stopped already, so this starts it
    EXPECT_TRUE(viewer->Timer1.enabled());
}

TEST_F(Slideshow, MovingTheSliderStopsAndLeavesTheFocusOnThePicture) {
    fillLineup(3);
    start(2);
    viewer->Slider1.setFocus();
    viewer->Slider1.setValue(5);
    EXPECT_FALSE(viewer->Timer1.enabled());
    EXPECT_EQ(viewer->ProgressBar1.max(), 50);
    EXPECT_TRUE(viewer->picBackground.hasFocus());
    EXPECT_TRUE(viewer->Toolbar1.button("Select")->enabled);
}

TEST_F(Slideshow, AnAdvanceOnAnEmptyLineupStopsAndLeavesThePicture) {
    fillLineup(2);
    lineup().setListIndex(0);
    viewer->GetPic();
    start(1);
    lineup().clear();
    h.clock.advance(1000);
    EXPECT_FALSE(viewer->Timer1.enabled());
    EXPECT_EQ(viewer->Timer1.interval(), 0);
    EXPECT_EQ(h.app.CurrentFile, folder.file("0.jpg"));
}

TEST_F(Slideshow, AfterTheImageSelectorsHideTheFirstAdvanceShowsTheSecondEntry) {
    fillLineup(3);
    lineup().setListIndex(2);
    viewer->GetPic();
    viewer->Toolbar1.click("Select");
    viewer->Slider1.setValue(1);
    viewer->Toolbar1.click("StartStop");
    h.clock.advance(1000);
    EXPECT_EQ(h.app.CurrentFile, folder.file("1.jpg"));
}

TEST_F(Slideshow, NoTimerRunsWhileTheDamagedFilesMessageIsOpen) {
    fillLineup(3);
    h.decoder.sizes.erase(folder.file("1.jpg"));  // damaged
    lineup().setListIndex(0);
    viewer->GetPic();
    start(1);
    h.messages.whileOpen([&] { h.clock.advance(10000); });
    h.clock.advance(1000);
    EXPECT_EQ(h.messages.prompts.size(), 1u);
    EXPECT_EQ(active(), 1);
    h.messages.whileOpen({});
    h.clock.advance(999);
    EXPECT_EQ(active(), 1);
    h.clock.advance(1);
    EXPECT_EQ(active(), 2);
    EXPECT_EQ(h.messages.prompts.size(), 1u);
}

TEST_F(Slideshow, ClosingTheMainWindowStopsItsTimers) {
    fillLineup(2);
    start(1);
    viewer->form().requestUnload();
    h.clock.advance(5000);
    EXPECT_FALSE(h.app.isLoaded(WindowId::LineupSelector));
    EXPECT_EQ(h.process.quitted, 1);
    EXPECT_EQ(h.pointer.changes.size(), 0u);
}

}  // namespace
}  // namespace glimpa

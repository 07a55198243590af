#include "image_selector/frmImageSelector.h"
#include "support/ViewerFixture.h"

namespace glimpa {
namespace {

class Toolbar : public test::ViewerFixture {
protected:
    void click(const std::string& key) { viewer->Toolbar1.click(key); }
    /// A lineup of n pictures with entry `active` on display.
    void showing(int n, int active) {
        fillLineup(n);
        lineup().setListIndex(active);
        viewer->GetPic();
    }
};

TEST_F(Toolbar, TrashConfirmedRemovesTheImageOnDisplayAndClearsTheFrame) {
    showing(3, 1);
    h.messages.answer({msgbox::Yes});
    click("Trash");
    ASSERT_EQ(h.messages.prompts.size(), 1u);
    EXPECT_EQ(h.messages.prompts[0].text,
              "Do you want to Remove this Image from the Image Lineup?");
    EXPECT_EQ(h.messages.prompts[0].style, msgbox::Confirm);
    EXPECT_EQ(h.messages.prompts[0].title, "GLIMPA");
    EXPECT_EQ(names(), (std::vector<std::string>{"0.jpg", "2.jpg"}));
    EXPECT_EQ(lineup().listIndex(), -1);
    EXPECT_EQ(h.app.CurrentFile, "");
    EXPECT_EQ(viewer->form().caption(), "GLIMPA No Active Image");
}

TEST_F(Toolbar, DeclinedConfirmationsChangeNothingAndSkipTheRefresh) {
    showing(3, 1);
    for (const char* key : {"Trash", "TrashAll"}) {
        for (int answer : {msgbox::No, msgbox::Cancel}) {
            viewer->lblImageCount.setCaption("untouched");
            h.messages.answer({answer});
            click(key);
            EXPECT_EQ(lineup().listCount(), 3) << key;
            EXPECT_EQ(h.app.CurrentFile, folder.file("1.jpg")) << key;
            EXPECT_EQ(viewer->lblImageCount.caption(), "untouched") << key;
        }
    }
}

TEST_F(Toolbar, TrashRemovesThePictureShownEvenWhenTheActiveEntryMovedAway) {
    showing(3, 2);
    h.app.frmImageSelector().form().show();  // its hide moves the active entry to the first
    h.messages.answer({msgbox::Yes});
    click("Trash");
    EXPECT_EQ(names(), (std::vector<std::string>{"0.jpg", "1.jpg"}));
}

TEST_F(Toolbar, TrashOfAPreviewOutsideTheLineupRemovesNothingButClearsTheFrame) {
    showing(2, 0);
    show(jpeg("preview.jpg", 5, 5));
    h.messages.answer({msgbox::Yes});
    click("Trash");
    EXPECT_EQ(lineup().listCount(), 2);
    EXPECT_EQ(h.app.CurrentFile, "");
    EXPECT_EQ(lineup().listIndex(), -1);
}

TEST_F(Toolbar, TrashWithAnEmptyFrameRemovesTheActiveEntry) {
    showing(3, 1);
    click("Clear");
    EXPECT_EQ(lineup().listIndex(), 1);  // Clear leaves the lineup alone
    EXPECT_FALSE(viewer->Toolbar1.button("Trash")->enabled);
    h.messages.answer({msgbox::Yes});
    viewer->Toolbar1_ButtonClick({"Trash", "", 3, true});
    EXPECT_EQ(names(), (std::vector<std::string>{"0.jpg", "2.jpg"}));
}

TEST_F(Toolbar, TrashAllConfirmedEmptiesTheLineupAndHidesTheLineupSelector) {
    showing(3, 0);
    click("Show");
    EXPECT_TRUE(h.app.frmLineupSelector().form().visible());
    h.messages.answer({msgbox::Yes});
    click("TrashAll");
    EXPECT_EQ(h.messages.prompts.back().text, "Do you want to Empty the Image Lineup?");
    EXPECT_EQ(lineup().listCount(), 0);
    EXPECT_EQ(h.app.CurrentFile, "");
    EXPECT_FALSE(h.app.frmLineupSelector().form().visible());
    EXPECT_EQ(viewer->Slider1.value(), 0);
}

TEST_F(Toolbar, ShowSelectsTheRowGetPicLastShowedAndFocusesTheList) {
    showing(4, 2);
    viewer->ActiveIndex = 0;  // as before any pick in the Lineup Selector
    viewer->cmdNext.click();
    click("Show");
    frmLineupSelector& selector = h.app.frmLineupSelector();
    EXPECT_EQ(selector.ListPictures.listIndex(), 0);
    EXPECT_TRUE(selector.form().visible());
    EXPECT_TRUE(selector.ListPictures.hasFocus());

    lineup().setListIndex(2);
    viewer->GetPic();
    viewer->cmdNext.click();
    click("Show");
    EXPECT_EQ(selector.ListPictures.listIndex(), 2);
}

TEST_F(Toolbar, SelectShowsTheImageSelectorAndAgainResetsItsCaption) {
    click("Select");
    frmImageSelector& selector = h.app.frmImageSelector();
    EXPECT_TRUE(selector.form().visible());
    selector.form().setCaption("GLIMPA Image Selector  (4)");
    click("Select");
    EXPECT_TRUE(selector.form().visible());
    EXPECT_EQ(selector.form().caption(), "GLIMPA Image Selector  (0)");
}

TEST_F(Toolbar, OnceTheImageSelectorWasOpenedEveryClickMovesTheActiveEntryToTheFirst) {
    showing(3, 2);
    click("Clear");
    EXPECT_EQ(lineup().listIndex(), 2);
    click("Select");
    EXPECT_EQ(lineup().listIndex(), 2);
    click("Select");
    EXPECT_EQ(lineup().listIndex(), 0);
}

}  // namespace
}  // namespace glimpa

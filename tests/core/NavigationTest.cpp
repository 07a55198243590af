#include "image_selector/frmImageSelector.h"
#include "support/ViewerFixture.h"

namespace glimpa {
namespace {

using Navigation = test::ViewerFixture;

TEST_F(Navigation, PagesForwardBackToTheEndsAndKeepsTheFocusOnTheFrame) {
    fillLineup(5);
    lineup().setListIndex(2);
    viewer->UpdateUI();
    viewer->cmdNext.click();
    EXPECT_EQ(lineup().listIndex(), 3);
    EXPECT_EQ(h.app.CurrentFile, folder.file("3.jpg"));
    EXPECT_EQ(counter(), "4 of 5");
    EXPECT_TRUE(viewer->picBackground.hasFocus());
    viewer->cmdPrevious.click();
    EXPECT_EQ(h.app.CurrentFile, folder.file("2.jpg"));
    viewer->cmdLast.click();
    EXPECT_EQ(lineup().listIndex(), 4);
    viewer->cmdFirst.click();
    EXPECT_EQ(lineup().listIndex(), 0);
    EXPECT_EQ(viewer->ActiveIndex, 0);  // paging leaves the remembered index alone
}

TEST_F(Navigation, HandlersRunAnywayAtTheEndsFollowTheLineupRules) {
    fillLineup(5);
    lineup().setListIndex(4);
    viewer->cmdNext_Click();
    EXPECT_EQ(lineup().listIndex(), 4);
    EXPECT_EQ(h.app.CurrentFile, folder.file("4.jpg"));

    lineup().setListIndex(0);
    viewer->cmdPrevious_Click();
    EXPECT_EQ(lineup().listIndex(), -1);
    EXPECT_EQ(h.app.CurrentFile, "");
    EXPECT_EQ(viewer->form().caption(), "GLIMPA No Active Image");
    EXPECT_TRUE(h.messages.prompts.empty());

    viewer->cmdNext.click();  // from no active entry to the first
    EXPECT_EQ(lineup().listIndex(), 0);

    lineup().clear();  // on an empty lineup paging clears the frame
    show(jpeg("preview.jpg", 10, 10));
    viewer->cmdLast_Click();
    EXPECT_EQ(h.app.CurrentFile, "");
    EXPECT_EQ(viewer->Image1.width(), 0);
}

TEST_F(Navigation, TheFramesKeysPageAsTheButtonsDoAndScrollAPictureLargerThanTheFrame) {
    fillLineup(5);
    lineup().setListIndex(2);
    viewer->GetPic();
    auto key = [&](int code) { viewer->picBackground.platformKeyDown(code, 0); };
    key(kKeyPageDown);
    key(kKeyRight);  // the picture fits across: Right pages too
    EXPECT_EQ(lineup().listIndex(), 4);
    key(kKeyPageDown);  // as Next, not available at the last entry
    EXPECT_EQ(lineup().listIndex(), 4);
    key(kKeyHome);
    EXPECT_EQ(lineup().listIndex(), 0);
    key(kKeyEnd);
    key(kKeyPageUp);
    key(kKeyLeft);
    EXPECT_EQ(h.app.CurrentFile, folder.file("2.jpg"));

    // A picture larger than the frame: the arrows scroll it, up to its edges.
    show(jpeg("large.jpg", 4000, 3000));
    const std::int32_t across = viewer->HScroll1.value();
    const std::int32_t down = viewer->VScroll1.value();
    key(kKeyRight);
    key(kKeyDown);
    EXPECT_EQ(viewer->HScroll1.value(), across + viewer->HScroll1.largeChange());
    EXPECT_EQ(viewer->Image1.left(), -viewer->HScroll1.value());
    EXPECT_EQ(viewer->VScroll1.value(), down + viewer->VScroll1.largeChange());
    for (int i = 0; i < 100; ++i) {
        key(kKeyRight);
    }
    EXPECT_EQ(viewer->HScroll1.value(), viewer->HScroll1.max());
    EXPECT_EQ(h.app.CurrentFile, folder.file("large.jpg"));

    viewer->Slider1.setValue(1);  // while the slideshow runs, no key pages
    viewer->Toolbar1.click("StartStop");
    key(kKeyEnd);
    EXPECT_EQ(h.app.CurrentFile, folder.file("large.jpg"));
}

TEST_F(Navigation, QuickOffEndsAtOnceOnACharacterKeyInAnyWindowAndSavesNothing) {
    std::vector<Form*> windows{&viewer->form(), &h.app.frmImageSelector().form(),
                               &h.app.frmLineupSelector().form()};
    for (Form* window : windows) {
        window->platformKeyPress('a');
    }
    EXPECT_EQ(h.process.ended, 0);
    viewer->chkQuickOff.click();
    EXPECT_TRUE(viewer->picBackground.hasFocus());
    for (Form* window : windows) {
        window->platformKeyPress(13);
    }
    EXPECT_EQ(h.process.ended, 3);
    EXPECT_TRUE(h.settings.saved.empty());
    EXPECT_EQ(h.process.quitted, 0);
}

TEST_F(Navigation, LineupSelectorShowsTheRowLetGoOverOrReachedByEnterOrArrows) {
    fillLineup(3);
    frmLineupSelector& selector = h.app.frmLineupSelector();
    selector.ListPictures.platformMouseUp(1, 0, 0, 0);  // nothing selected
    EXPECT_EQ(h.app.CurrentFile, "");

    selector.ListPictures.platformSetCurrent(1, true, 0);
    selector.ListPictures.platformKeyUp(34, 0);  // Page Down: wait for Enter
    EXPECT_EQ(h.app.CurrentFile, "");
    selector.ListPictures.platformKeyUp(kKeyReturn, 0);
    EXPECT_EQ(h.app.CurrentFile, folder.file("1.jpg"));
    EXPECT_EQ(viewer->ActiveIndex, 1);

    // On the row on display an arrow loads nothing; a mouse release reloads it.
    h.pointer.changes.clear();
    selector.ListPictures.platformKeyUp(kKeyDown, 0);
    EXPECT_TRUE(h.pointer.changes.empty());
    selector.ListPictures.platformMouseUp(1, 0, 0, 0);
    EXPECT_FALSE(h.pointer.changes.empty());
}

}  // namespace
}  // namespace glimpa

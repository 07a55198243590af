#include "support/ViewerFixture.h"
#include "viewer/ToolKey.h"

namespace glimpa {
namespace {

class Refresh : public test::ViewerFixture {
protected:
    struct Paging {
        bool first, previous, next, last;
        bool operator==(const Paging&) const = default;
    };
    Paging paging() {
        return {viewer->cmdFirst.enabled(), viewer->cmdPrevious.enabled(),
                viewer->cmdNext.enabled(), viewer->cmdLast.enabled()};
    }
};

TEST_F(Refresh, EmptyLineupShowsTheIdleScreenWithOnlySelectAvailable) {
    EXPECT_TRUE(h.app.isLoaded(WindowId::LineupSelector));  // loaded by the first refresh
    h.app.frmLineupSelector().form().show();
    viewer->UpdateUI();
    EXPECT_FALSE(h.app.frmLineupSelector().form().visible());  // hidden, still loaded
    EXPECT_TRUE(h.app.isLoaded(WindowId::LineupSelector));
    EXPECT_EQ(viewer->form().caption(), "GLIMPA No Active Image");
    for (Control* idle : std::initializer_list<Control*>{&viewer->Image2, &viewer->lblCopyRight,
                                                         &viewer->lblHelp, &viewer->lblVersion}) {
        EXPECT_TRUE(idle->visible()) << idle->name();
    }
    EXPECT_TRUE(toolEnabled("Select"));
    for (const char* key : {"Clear", "Trash", "TrashAll", "Show", "StartStop"}) {
        EXPECT_FALSE(toolEnabled(key)) << key;
    }
    EXPECT_EQ(viewer->Toolbar1.button("StartStop")->image, pictureNumber(ToolPicture::Start));
    EXPECT_EQ(viewer->Toolbar1.button("StartStop")->toolTip, "Start the Slideshow");
    EXPECT_EQ(viewer->Slider1.value(), 0);
    EXPECT_FALSE(viewer->Slider1.enabled());
    EXPECT_EQ(paging(), (Paging{false, false, false, false}));
    EXPECT_EQ(counter(), "0 of 0");
}

TEST_F(Refresh, CounterAndPagingFollowTheActiveEntry) {
    fillLineup(10);
    lineup().setListIndex(2);
    viewer->GetPic();
    EXPECT_EQ(counter(), "3 of 10");
    EXPECT_EQ(paging(), (Paging{true, true, true, true}));
    for (const char* key : {"Select", "Clear", "Trash", "TrashAll", "Show"}) {
        EXPECT_TRUE(toolEnabled(key)) << key;
    }
    EXPECT_TRUE(viewer->Slider1.enabled());

    lineup().setListIndex(0);
    viewer->GetPic();
    EXPECT_EQ(paging(), (Paging{true, false, true, true}));
    lineup().setListIndex(9);
    viewer->GetPic();
    EXPECT_EQ(paging(), (Paging{true, true, false, true}));
    EXPECT_EQ(counter(), "10 of 10");

    lineup().clear();
    fillLineup(1);
    lineup().setListIndex(0);
    viewer->GetPic();
    EXPECT_EQ(paging(), (Paging{true, false, false, true}));
    EXPECT_FALSE(viewer->Slider1.enabled());  // nothing to page through
}

TEST_F(Refresh, EntriesWithNoneActiveAndAnEmptyFrame) {
    fillLineup(3);
    viewer->UpdateUI();
    EXPECT_EQ(paging(), (Paging{true, false, true, true}));
    EXPECT_FALSE(toolEnabled("Clear"));
    EXPECT_FALSE(toolEnabled("Trash"));
    EXPECT_TRUE(toolEnabled("Show"));
    EXPECT_TRUE(toolEnabled("TrashAll"));
    EXPECT_EQ(counter(), "0 of 3");
}

TEST_F(Refresh, APreviewOutsideTheLineupShowsItsPathAndPositionZero) {
    fillLineup(2);
    show(jpeg("elsewhere.jpg", 10, 10));
    EXPECT_EQ(viewer->form().caption(), "GLIMPA Viewing:  " + folder.file("elsewhere.jpg"));
    EXPECT_EQ(counter(), "0 of 2");
    EXPECT_TRUE(toolEnabled("Clear"));
}

TEST_F(Refresh, ScrollBarsAppearExactlyWhenThePictureExceedsTheFrame) {
    sizeWindow(9120, 7080);  // client 9000 × 6600
    // At the vertical test the frame is 6600 - 600 - 255 = 5745 twips (383 px) high.
    show(jpeg("fits.jpg", 10, 383));
    EXPECT_FALSE(viewer->picVscroll.visible());
    show(jpeg("taller.jpg", 10, 384));
    EXPECT_TRUE(viewer->picVscroll.visible());
    EXPECT_EQ(viewer->picBackground.width(), 9000 - 200);

    show(jpeg("as-wide.jpg", 600, 10));
    EXPECT_FALSE(viewer->HScroll1.visible());
    EXPECT_EQ(viewer->picBackground.top(), 600);
    EXPECT_EQ(viewer->picBackground.height(), 6000);
    show(jpeg("wider.jpg", 601, 10));
    EXPECT_TRUE(viewer->HScroll1.visible());
    EXPECT_EQ(viewer->picBackground.top(), 855);
}

TEST_F(Refresh, APictureExactlyAsLargeAsTheFrameIsZoomedWhenSizeToFitIsTicked) {
    sizeWindow(9120, 7080);
    viewer->Check1.setValue(CheckBox::Checked);
    show(jpeg("exact.jpg", 600, 10));
    EXPECT_TRUE(viewer->Image1.stretch());
    show(jpeg("smaller.jpg", 599, 10));
    EXPECT_FALSE(viewer->Image1.stretch());
}

TEST_F(Refresh, ScrollRangesStepsAndCentringRoundHalvesToEven) {
    sizeWindow(9113, 9000);         // client width 8993
    show(jpeg("a.jpg", 600, 200));  // 9000 × 3000 twips
    EXPECT_EQ(viewer->HScroll1.max(), 7);
    EXPECT_EQ(viewer->HScroll1.value(), 4);  // 3.5 rounds to 4
    EXPECT_EQ(viewer->Image1.left(), -4);
    EXPECT_EQ(viewer->VScroll1.smallChange(), 15);
    EXPECT_EQ(viewer->VScroll1.largeChange(), 60);
    EXPECT_EQ(viewer->HScroll1.smallChange(), 45);
    EXPECT_EQ(viewer->HScroll1.largeChange(), 180);
    EXPECT_EQ(viewer->HScroll1.width(), 8993 - 200 - 30);

    // Steps below 1 are refused and the earlier ones stay.
    show(jpeg("tiny.jpg", 5, 5));
    EXPECT_EQ(viewer->HScroll1.smallChange(), 45);
    EXPECT_EQ(viewer->HScroll1.largeChange(), 2);
    // A picture smaller than the frame has a negative range and stays centred.
    EXPECT_LT(viewer->HScroll1.max(), 0);
    EXPECT_EQ(viewer->Image1.left(), (viewer->picBackground.width() - 75) / 2);
}

TEST_F(Refresh, APictureFarWiderThanTheFrameScrollsToItsRightEdge) {
    show(jpeg("panorama.jpg", 4000, 10));  // exceeds the frame by more than 32767 twips
    const auto overhang = static_cast<std::int32_t>(60000 - viewer->picBackground.width());
    EXPECT_GT(overhang, 32767);
    EXPECT_EQ(viewer->HScroll1.max(), overhang);
    EXPECT_EQ(viewer->Image1.left(), -viewer->HScroll1.value());
    viewer->HScroll1.setValue(viewer->HScroll1.max());
    EXPECT_EQ(viewer->Image1.left() + viewer->Image1.width(), viewer->picBackground.width());
}

}  // namespace
}  // namespace glimpa

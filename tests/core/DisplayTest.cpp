#include <cmath>

#include "support/ViewerFixture.h"

namespace glimpa {
namespace {

using test::BlankPicture;

class Display : public test::ViewerFixture {
protected:
    /// Puts a picture of this many twips into a frame of this many twips.
    void frameAndPicture(Twips frameWidth, Twips frameHeight, int widthPx, int heightPx) {
        viewer->picBackground.setWidth(frameWidth);
        viewer->picBackground.setHeight(frameHeight);
        viewer->Image1.setStretch(false);
        viewer->Image1.setPicture(std::make_shared<BlankPicture>(widthPx, heightPx));
        viewer->ImageWidth = viewer->Image1.width();
        viewer->ImageHeight = static_cast<std::int32_t>(viewer->Image1.height());
    }
};

TEST_F(Display, ZoomDownFitsAWidePictureByWidthAndATallOneByHeight) {
    frameAndPicture(3000, 3000, 400, 100);  // 6000 × 1500 twips
    viewer->ZoomDown();
    EXPECT_TRUE(viewer->Image1.stretch());
    EXPECT_EQ(viewer->Image1.width(), 3000);
    EXPECT_EQ(viewer->Image1.height(), 750);
    EXPECT_EQ(viewer->ZoomFactor, 0.5f);

    frameAndPicture(3000, 3000, 100, 400);
    viewer->ZoomDown();
    EXPECT_EQ(viewer->Image1.height(), 3000);
    EXPECT_EQ(viewer->Image1.width(), 750);
}

TEST_F(Display, ZoomDownOfAnEmptyPictureSkipsItsDivisionsInsteadOfMakingNaN) {
    viewer->ImageClear();
    viewer->ImageWidth = 0;
    viewer->ImageHeight = 0;
    viewer->ZoomFactor = 0.5f;
    viewer->ZoomDown();
    EXPECT_EQ(viewer->ZoomFactor, 0.5f);
    EXPECT_TRUE(std::isfinite(viewer->Image1.width()));
    EXPECT_TRUE(std::isfinite(viewer->Image1.height()));
    EXPECT_EQ(viewer->Image1.width(), 0);
}

TEST_F(Display, LoadingShowsThePictureAtItsNaturalSizeWithItsPathInTheCaption) {
    const std::string path = jpeg("photo one.jpg", 40, 30);
    show(path);
    EXPECT_EQ(viewer->ImageWidth, 600);
    EXPECT_EQ(viewer->ImageHeight, 450);
    EXPECT_TRUE(viewer->Image1.visible());
    EXPECT_FALSE(viewer->Image1.stretch());
    EXPECT_EQ(viewer->form().caption(), "GLIMPA Viewing:  " + path);
    EXPECT_FALSE(viewer->Image2.visible());
    EXPECT_FALSE(viewer->lblHelp.visible());
    EXPECT_EQ(h.pointer.changes, (std::vector<bool>{true, false}));
    EXPECT_TRUE(h.messages.prompts.empty());
}

TEST_F(Display, AFileThatCannotBeLoadedBeepsOnceShowsTheMessageAndLeavesTheFrameEmpty) {
    fillLineup(2);
    const std::string good = *lineup().list(0);
    show(good);
    const std::string caption = viewer->form().caption();
    test::writeBytes(folder.file("broken.jpg"), "\xff\xd8\xff\xe0 not really a picture");
    for (const std::string& bad : {folder.file("broken.jpg"), folder.file("missing.gif")}) {
        h.messages.log.clear();
        h.messages.prompts.clear();
        lineup().addItem(bad, 0);
        show(bad);
        EXPECT_EQ(h.messages.log,
                  (std::vector<std::string>{"beep",
                                            "box:An error has occurred loading this Image.  "
                                            "It may be corrupted."}));
        EXPECT_EQ(h.messages.prompts.at(0).style, msgbox::Warning);
        EXPECT_EQ(h.messages.prompts.at(0).title, "GLIMPA");
        EXPECT_EQ(h.app.CurrentFile, "");
        EXPECT_EQ(viewer->Image1.picture(), nullptr);
        EXPECT_EQ(viewer->Image1.width(), 0);
        EXPECT_FALSE(viewer->Image1.visible());
        EXPECT_EQ(viewer->form().caption(), caption);  // no refresh on this path
        EXPECT_TRUE(lineup().contains(bad));
        EXPECT_FALSE(h.pointer.busy);
    }
}

TEST_F(Display, LoadingAnEmptyPathEmptiesTheFrameQuietlyAndRefreshes) {
    show(jpeg("a.jpg", 20, 20));
    h.app.CurrentFile.clear();
    viewer->LoadPic();
    EXPECT_TRUE(h.messages.prompts.empty());
    EXPECT_EQ(viewer->ImageWidth, 0);
    EXPECT_EQ(viewer->ImageHeight, 0);
    EXPECT_EQ(viewer->form().caption(), "GLIMPA No Active Image");
    EXPECT_TRUE(viewer->Image2.visible());
}

TEST_F(Display, SizeToFitFitsAndUnfits) {
    const std::string path = jpeg("big.jpg", 3000, 500);
    show(path);
    EXPECT_FALSE(viewer->Image1.stretch());
    EXPECT_TRUE(viewer->HScroll1.visible());

    viewer->Check1.setValue(CheckBox::Checked);
    EXPECT_TRUE(viewer->Image1.stretch());
    EXPECT_LT(viewer->ZoomFactor, 1.0f);
    EXPECT_NEAR(viewer->Image1.width(), viewer->picBackground.width(), 0.5);
    EXPECT_FALSE(viewer->HScroll1.visible());
    EXPECT_TRUE(viewer->picBackground.hasFocus());

    viewer->Check1.setValue(CheckBox::Unchecked);
    EXPECT_EQ(viewer->ZoomFactor, 1.0f);
    EXPECT_FALSE(viewer->Image1.stretch());
    EXPECT_EQ(viewer->Image1.width(), 45000);
    EXPECT_TRUE(viewer->HScroll1.visible());
}

TEST_F(Display, GetPicLoadsTheActiveEntryAndRemembersItsIndex) {
    fillLineup(3);
    h.app.CurrentFile = "untouched";
    viewer->GetPic();
    EXPECT_EQ(h.app.CurrentFile, "untouched");

    lineup().setListIndex(2);
    viewer->GetPic();
    EXPECT_EQ(h.app.CurrentFile, folder.file("2.jpg"));
    EXPECT_EQ(viewer->ActiveIndex, 2);
    EXPECT_EQ(viewer->form().caption(), "GLIMPA Viewing:  " + folder.file("2.jpg"));
}

TEST_F(Display, TheEntriesAheadInTheDirectionOfTravelArePreparedForTheFrameShown) {
    fillLineup(4);
    auto show = [&](int index) {
        lineup().setListIndex(index);
        viewer->GetPic();
        return h.decoder.prefetched;
    };
    using Paths = std::vector<std::string>;
    EXPECT_EQ(show(2), (Paths{folder.file("3.jpg"), folder.file("0.jpg")}));  // on past the last
    EXPECT_FALSE(h.decoder.prefetchHint.fits());      // natural size: the whole picture
    EXPECT_EQ(show(1), Paths{folder.file("0.jpg")});  // turned back
    EXPECT_EQ(show(0), (Paths{folder.file("1.jpg"), folder.file("2.jpg")}));  // none before

    sizeWindow(9120, 7080);  // client 9000 × 6600, frame below toolbar and scroll bar row
    viewer->Check1.setValue(CheckBox::Checked);
    EXPECT_EQ(h.decoder.prefetchHint, (DisplayHint{600, 383}));  // prepared again, fitted
    viewer->cmdNext.click();
    EXPECT_EQ(h.decoder.decoded.back(), folder.file("1.jpg"));
    EXPECT_EQ(h.decoder.lastHint, (DisplayHint{600, 383}));
    EXPECT_EQ(h.decoder.prefetchHint, h.decoder.lastHint);
    EXPECT_EQ(h.decoder.prefetched, (Paths{folder.file("2.jpg"), folder.file("3.jpg")}));
}

TEST_F(Display, AFittedPictureNeverNeedsAScrollBar) {
    const std::string path = jpeg("photo.jpg", 5640, 3172);
    viewer->Check1.setValue(CheckBox::Checked);
    int shown = 0;
    for (int widthPx = 900; widthPx <= 1920; widthPx += 7) {
        for (int heightPx = 600; heightPx <= 1080; heightPx += 11) {
            sizeWindow(widthPx * 15.0f, heightPx * 15.0f);
            show(path);
            ++shown;
            ASSERT_FALSE(viewer->picVscroll.visible()) << widthPx << " x " << heightPx;
            ASSERT_FALSE(viewer->HScroll1.visible()) << widthPx << " x " << heightPx;
        }
    }
    EXPECT_GT(shown, 1000);
}

TEST_F(Display, MinimizeAndRestoreKeepThePictureAndLayItOutAgain) {
    const std::string path = jpeg("a.jpg", 50, 40);
    show(path);
    viewer->form().setWindowState(WindowState::Minimized);
    viewer->form().setWindowState(WindowState::Maximized);
    EXPECT_EQ(h.app.CurrentFile, path);
    EXPECT_EQ(viewer->Image1.width(), 750);
    EXPECT_TRUE(viewer->Image1.visible());
    EXPECT_FALSE(viewer->Image2.visible());
}

}  // namespace
}  // namespace glimpa

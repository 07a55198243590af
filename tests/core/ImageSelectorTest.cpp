#include <filesystem>

#include "image_selector/frmImageSelector.h"
#include "support/ViewerFixture.h"

namespace glimpa {
namespace {

namespace fs = std::filesystem;

class ImageSelector : public test::ViewerFixture {
protected:
    frmImageSelector& selector() { return h.app.frmImageSelector(); }
    std::string sub(const std::string& name) {
        fs::create_directories(folder.path() / name);
        return folder.file(name);
    }
    void restoreFrom(const std::string& drive, const std::string& path, const std::string& files) {
        h.store("ImageSelectorDrive", drive);
        h.store("ImageSelectorPath", path);
        h.store("ImageSelectorFiles", files);
    }
};

TEST_F(ImageSelector, FirstShowOpensAtTheDefaultsOnTheCurrentFolder) {
    frmImageSelector& window = selector();
    window.form().show();
    EXPECT_EQ(window.form().left(), 1000);
    EXPECT_EQ(window.form().top(), 1000);
    EXPECT_TRUE(window.form().topmost());
    EXPECT_EQ(window.form().caption(), "GLIMPA Image Selector  (0)");
    EXPECT_EQ(window.Dir1.path(), fs::current_path().string());
    EXPECT_EQ(window.Drive1.drive(), "/");
    EXPECT_FALSE(window.cmdAdd.enabled());
    EXPECT_EQ(window.cmdAddAll.enabled(), window.File1.listCount() > 0);
    EXPECT_EQ(window.File1.width(), window.form().clientWidth());
    EXPECT_EQ(window.Picture1.width(), window.File1.width() - 30);
}

TEST_F(ImageSelector, RestoresItsFoldersAndFollowsThemWithTheFileList) {
    const std::string pictures = sub("Pictures");
    for (const char* name : {"b10.jpg", "B2.JPG", "a.gif", "c.bmp", "notes.txt", ".hidden.jpg"}) {
        test::writeBytes(fs::path(pictures) / name, "x");
    }
    fs::create_directories(fs::path(pictures) / "folder.jpg");
    restoreFrom("/", pictures, pictures);
    show(jpeg("shown.jpg", 4, 4));

    frmImageSelector& window = selector();
    EXPECT_EQ(window.Dir1.path(), pictures);
    EXPECT_EQ(window.File1.path(), pictures);
    std::vector<std::string> names;
    for (int i = 0; i < window.File1.listCount(); ++i) {
        names.push_back(*window.File1.list(i));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a.gif", "B2.JPG", "b10.jpg", "c.bmp"}));
    // Changing folder cleared the main window's picture.
    EXPECT_EQ(h.app.CurrentFile, "");
    EXPECT_EQ(viewer->form().caption(), "GLIMPA No Active Image");
}

TEST_F(ImageSelector, StoredPlacesThatCannotBeUsedAreSkippedWithoutAMessage) {
    const std::string here = fs::current_path().string();
    restoreFrom("/", folder.file("deleted-since"), folder.file("deleted-since"));
    h.store("ImageSelectorLeft", "abc");
    h.store("ImageSelectorTop", "2000");
    frmImageSelector& window = selector();
    EXPECT_EQ(window.Dir1.path(), here);
    EXPECT_EQ(window.form().left(), 0);
    EXPECT_EQ(window.form().top(), 2000);
    EXPECT_TRUE(h.messages.prompts.empty());
}

TEST_F(ImageSelector, AStoredDriveThatIsNotTextRestoresNoFolder) {
    restoreFrom("/", sub("x"), sub("x"));
    h.settings.notText = {"ImageSelectorDrive"};
    EXPECT_EQ(selector().Dir1.path(), fs::current_path().string());
}

TEST_F(ImageSelector, TheDriveListShowsTheDriveThatHoldsTheFolder) {
    h.environment.mounts = {"/", folder.path().string()};
    restoreFrom("/media/gone", sub("y"), sub("y"));  // a drive no longer mounted
    frmImageSelector& window = selector();
    EXPECT_EQ(window.Dir1.path(), sub("y"));  // the folder is still restored
    EXPECT_EQ(window.Drive1.drive(), folder.path().string());

    int changes = 0;
    window.Drive1.Change.connect([&] { ++changes; });
    window.Dir1.setPath("/");  // up and out of the mounted folder
    EXPECT_EQ(window.Drive1.drive(), "/");
    EXPECT_EQ(changes, 0);

    h.environment.mounts.push_back("/run/media/me/stick");  // mounted since
    window.Drive1.platformOpenList();
    EXPECT_EQ(window.Drive1.drives().back(), "/run/media/me/stick");
}

TEST_F(ImageSelector, ChoosingADriveGoesToTheFolderLastShownOnIt) {
    h.environment.mounts = {"/", folder.path().string()};
    const std::string deep = sub("deep");
    frmImageSelector& window = selector();
    window.Dir1.setPath(deep);
    window.Drive1.setDrive(folder.path().string());
    window.Dir1.setPath("/");
    window.Drive1.setDrive("/");
    EXPECT_EQ(window.Dir1.path(), "/");
    window.Drive1.setDrive(folder.path().string());
    EXPECT_EQ(window.Dir1.path(), deep);
    EXPECT_EQ(window.File1.path(), deep);
}

TEST_F(ImageSelector, AWindowRestoredOffEveryScreenComesBackOntoThePrimaryOne) {
    h.store("ImageSelectorLeft", "-90000");
    h.store("ImageSelectorTop", "500");
    frmImageSelector& window = selector();
    EXPECT_EQ(window.form().left(), 1000);
    EXPECT_EQ(window.form().top(), 1000);
}

TEST_F(ImageSelector, ClosingHidesResetsCaptionAndSelectionAndMovesTheActiveEntryToTheFirst) {
    fillLineup(3);
    lineup().setListIndex(2);
    viewer->GetPic();
    const std::string shown = h.app.CurrentFile;
    restoreFrom("/", folder.path().string(), folder.path().string());
    frmImageSelector& window = selector();
    window.form().show();
    window.File1.platformSetCurrent(0, true, 0);
    window.File1.platformSetCurrent(1, true, kShiftMask);
    EXPECT_EQ(window.form().caption(), "GLIMPA Image Selector  (2)");
    viewer->GetPic();  // back to the lineup's picture

    EXPECT_FALSE(window.form().requestUnload());
    EXPECT_FALSE(window.form().visible());
    EXPECT_EQ(window.form().caption(), "GLIMPA Image Selector  (0)");
    EXPECT_EQ(window.File1.selectedCount(), 0);
    EXPECT_EQ(window.SelectedCount, 2);
    EXPECT_EQ(lineup().listIndex(), 0);
    EXPECT_EQ(h.app.CurrentFile, shown);
    EXPECT_TRUE(h.settings.saved.empty());

    window.form().show();  // shown again: the settings are not read again
    EXPECT_EQ(window.Dir1.path(), folder.path().string());
}

TEST_F(ImageSelector, ShownAgainAfterItsCloseBoxItRefreshesItsButtons) {
    jpeg("p.jpg", 4, 4);
    restoreFrom("/", folder.path().string(), folder.path().string());
    frmImageSelector& window = selector();
    window.form().show();
    window.File1.platformSetCurrent(0, true, 0);
    EXPECT_TRUE(window.cmdAdd.enabled());
    window.form().requestUnload();  // hidden, its list refreshed without a selection
    window.form().show();
    EXPECT_FALSE(window.cmdAdd.enabled());
}

TEST_F(ImageSelector, ProgramCloseSavesItsPlaceAndFoldersInOrder) {
    const std::string pictures = sub("pics");
    restoreFrom("/", pictures, pictures);
    selector().form().setLeft(2500);
    viewer->form().requestUnload();
    EXPECT_EQ(
        std::vector<std::string>(h.settings.saved.begin(), h.settings.saved.begin() + 5),
        (std::vector<std::string>{"ImageSelectorLeft", "ImageSelectorTop", "ImageSelectorDrive",
                                  "ImageSelectorPath", "ImageSelectorFiles"}));
    EXPECT_EQ(h.stored("ImageSelectorLeft"), "2500");
    EXPECT_EQ(h.stored("ImageSelectorDrive"), "/");
    EXPECT_EQ(h.stored("ImageSelectorFiles"), pictures);
}

TEST_F(ImageSelector, ClickingAFilePreviewsItAndCountsTheSelection) {
    fillLineup(2);
    lineup().setListIndex(0);
    viewer->GetPic();
    restoreFrom("/", folder.path().string(), folder.path().string());
    jpeg("p.jpg", 12, 10);
    frmImageSelector& window = selector();
    window.File1.platformSetCurrent(0, true, 0);
    window.File1.platformSetCurrent(2, true, kShiftMask);
    EXPECT_EQ(h.app.CurrentFile, folder.file("p.jpg"));
    EXPECT_EQ(viewer->form().caption(), "GLIMPA Viewing:  " + folder.file("p.jpg"));
    EXPECT_EQ(window.form().caption(), "GLIMPA Image Selector  (3)");
    EXPECT_EQ(viewer->lblActiveImage.caption(), "");
    EXPECT_EQ(viewer->lblImageCount.caption(), "");
    EXPECT_FALSE(window.Picture1.visible());
    EXPECT_TRUE(window.File1.visible());
    EXPECT_TRUE(window.File1.hasFocus());
    EXPECT_TRUE(window.cmdAdd.enabled());
    EXPECT_EQ(lineup().listIndex(), 0);  // a preview leaves the lineup alone

    // Toggling the only selected entry off still previews it.
    window.File1.platformSetCurrent(0, true, 0);
    window.File1.platformSetCurrent(0, true, kCtrlMask);
    EXPECT_EQ(h.app.CurrentFile, folder.file("0.jpg"));
    EXPECT_EQ(window.form().caption(), "GLIMPA Image Selector  (0)");
    EXPECT_FALSE(window.cmdAdd.enabled());
}

TEST_F(ImageSelector, WalkingTheFileListPreparesTheFilesAheadInTheDirectionOfTravel) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
        jpeg(name, 12, 10);
    }
    restoreFrom("/", folder.path().string(), folder.path().string());
    frmImageSelector& window = selector();
    auto step = [&](int row) {
        const int asked = h.decoder.prefetches;
        window.File1.platformSetCurrent(row, true, 0);
        EXPECT_EQ(h.decoder.prefetches, asked + 1);
        return h.decoder.prefetched;
    };
    using Paths = std::vector<std::string>;
    EXPECT_EQ(step(1), (Paths{folder.file("c.jpg"), folder.file("d.jpg")}));
    EXPECT_EQ(step(2), Paths{folder.file("d.jpg")});  // the list does not go round
    EXPECT_EQ(step(3), (Paths{folder.file("c.jpg"), folder.file("b.jpg")}));  // none below
    EXPECT_EQ(step(1), Paths{folder.file("a.jpg")});                          // turned back
    EXPECT_EQ(step(0), (Paths{folder.file("b.jpg"), folder.file("c.jpg")}));  // none above
    EXPECT_EQ(h.app.CurrentFile, folder.file("a.jpg"));

    // Shown another way, the same neighbours are prepared for it.
    step(2);
    viewer->Check1.setValue(CheckBox::Checked);
    EXPECT_EQ(h.decoder.prefetched, Paths{folder.file("d.jpg")});
    EXPECT_TRUE(h.decoder.prefetchHint.fits());
}

TEST_F(ImageSelector, AFailedPreviewShowsTheOneMessageAndGivesTheListBack) {
    test::writeBytes(folder.file("bad.jpg"), "not a picture");
    restoreFrom("/", folder.path().string(), folder.path().string());
    frmImageSelector& window = selector();
    window.File1.platformSetCurrent(0, true, 0);
    ASSERT_EQ(h.messages.prompts.size(), 1u);
    EXPECT_EQ(h.messages.prompts[0].text,
              "An error has occurred loading this Image.  It may be corrupted.");
    EXPECT_TRUE(window.File1.hasFocus());
    EXPECT_FALSE(window.Picture1.visible());
    EXPECT_EQ(viewer->lblImageCount.caption(), "");
    EXPECT_EQ(window.form().caption(), "GLIMPA Image Selector  (1)");
}

}  // namespace
}  // namespace glimpa

#include <filesystem>

#include "image_selector/frmImageSelector.h"
#include "support/ViewerFixture.h"

namespace glimpa {
namespace {

namespace fs = std::filesystem;

const std::string kDuplicateOne = "box:(1)  Duplicate image was skipped.";

class Adding : public test::ViewerFixture {
protected:
    /// The selector on a folder holding a.jpg, b.jpg and c.jpg.
    frmImageSelector& selectorOn(const fs::path& where) {
        fs::create_directories(where);
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
            test::writeBytes(where / name, "");
            h.decoder.picture((where / name).string(), 6, 4);
        }
        frmImageSelector& window = h.app.frmImageSelector();
        window.Dir1.setPath(where.string());
        window.form().show();
        h.messages.log.clear();
        h.messages.prompts.clear();
        return window;
    }
    void selectRows(frmImageSelector& window, std::initializer_list<int> indexes) {
        bool first = true;
        for (int index : indexes) {
            window.File1.platformSetCurrent(index, true, first ? 0 : kCtrlMask);
            first = false;
        }
    }
};

TEST_F(Adding, AddAllIntoAnEmptyLineupAsksNothingAndShowsTheLastFileFirst) {
    frmImageSelector& window = selectorOn(folder.path());
    window.cmdAddAll.click();
    EXPECT_TRUE(h.messages.log.empty());
    EXPECT_EQ(names(), (std::vector<std::string>{"c.jpg", "b.jpg", "a.jpg"}));
    EXPECT_EQ(lineup().listIndex(), 0);
    EXPECT_EQ(h.app.CurrentFile, folder.file("c.jpg"));
    EXPECT_EQ(counter(), "1 of 3");
    EXPECT_FALSE(window.Picture1.visible());
    EXPECT_TRUE(window.File1.visible());
    EXPECT_EQ(window.File1.selectedCount(), 0);
    EXPECT_FALSE(h.pointer.busy);
    EXPECT_EQ(window.ProgressBar1.value(), 0);
}

TEST_F(Adding, AddAllAnsweredNoAppendsAboveTheOldEntriesAndCountsDuplicates) {
    frmImageSelector& window = selectorOn(folder.path());
    lineup().addItem("/elsewhere/old.jpg", 0);
    lineup().addItem(folder.file("a.jpg"), 0);
    lineup().addItem(folder.file("b.jpg"), 0);
    h.messages.answer({msgbox::No});
    window.cmdAddAll.click();
    ASSERT_EQ(h.messages.prompts.size(), 2u);
    EXPECT_EQ(h.messages.prompts[0].text,
              "Do you want to DELETE the existing Image Lineup?\r\r"
              "Select 'Yes' to DELETE the existing Lineup.\r"
              "Select 'No' to APPEND to the existing Lineup.\r"
              "Select Cancel to Cancel this operation.");
    EXPECT_EQ(h.messages.prompts[0].style, msgbox::Confirm);
    EXPECT_EQ(h.messages.log,
              (std::vector<std::string>{"beep", "box:" + h.messages.prompts[0].text, "beep",
                                        "box:(2)  Duplicate images were skipped."}));
    EXPECT_EQ(h.messages.prompts[1].style, msgbox::Notice);
    EXPECT_EQ(names(), (std::vector<std::string>{"c.jpg", "b.jpg", "a.jpg", "old.jpg"}));
}

TEST_F(Adding, AddAllCancelledOrNotConfirmedChangesNothing) {
    frmImageSelector& window = selectorOn(folder.path());
    lineup().addItem("/elsewhere/old.jpg", 0);
    for (auto answers :
         {std::vector<int>{msgbox::Cancel}, std::vector<int>{msgbox::Yes, msgbox::No},
          std::vector<int>{msgbox::Yes, msgbox::Cancel}}) {
        h.pointer.changes.clear();
        for (int answer : answers) {
            h.messages.answer({answer});
        }
        window.cmdAddAll.click();
        EXPECT_EQ(names(), std::vector<std::string>{"old.jpg"});
        EXPECT_TRUE(h.pointer.changes.empty());
        EXPECT_FALSE(window.Picture1.visible());
    }
    EXPECT_EQ(h.messages.prompts.back().text,
              "Are you sure that you want to DELETE the existing Image Lineup?");
}

TEST_F(Adding, AddAllConfirmedTwiceReplacesTheLineupWithoutDuplicateReports) {
    frmImageSelector& window = selectorOn(folder.path());
    lineup().addItem("/elsewhere/old.jpg", 0);
    lineup().addItem(folder.file("a.jpg"), 0);
    h.messages.answer({msgbox::Yes, msgbox::Yes});
    window.cmdAddAll.click();
    EXPECT_EQ(h.messages.prompts.size(), 2u);
    EXPECT_EQ(names(), (std::vector<std::string>{"c.jpg", "b.jpg", "a.jpg"}));
}

TEST_F(Adding, DuplicatesAreSkippedWithOneMessageAndMoreThanOneWithABeep) {
    frmImageSelector& window = selectorOn(folder.path());
    lineup().addItem(folder.file("a.jpg"), 0);
    selectRows(window, {0, 2});
    h.messages.log.clear();
    window.cmdAdd.click();
    EXPECT_EQ(h.messages.log, std::vector<std::string>{kDuplicateOne});
    EXPECT_EQ(names(), (std::vector<std::string>{"c.jpg", "a.jpg"}));
    EXPECT_EQ(counter(), "1 of 2");

    selectRows(window, {0, 2});
    h.messages.log.clear();
    window.cmdAdd.click();
    EXPECT_EQ(h.messages.log,
              (std::vector<std::string>{"beep", "box:(2)  Duplicate images were skipped."}));
    EXPECT_EQ(lineup().listCount(), 2);
}

TEST_F(Adding, EnterAddsTheCurrentFileAndShowsTheStatusForAQuarterSecond) {
    frmImageSelector& window = selectorOn(folder.path());
    selectRows(window, {1});  // previews b.jpg
    window.File1.platformKeyUp(kKeyReturn, 0);
    EXPECT_EQ(names(), std::vector<std::string>{"b.jpg"});
    EXPECT_EQ(lineup().listIndex(), 0);  // the preview is the added entry
    EXPECT_TRUE(window.Picture1.visible());
    EXPECT_EQ(window.lblStatus.caption(), "Adding Image to Lineup");
    EXPECT_TRUE(h.pointer.busy);
    EXPECT_EQ(counter(), "1 of 1");

    h.clock.advance(249);
    EXPECT_TRUE(window.Picture1.visible());
    h.clock.advance(1);
    EXPECT_FALSE(window.Picture1.visible());
    EXPECT_TRUE(window.File1.visible());
    EXPECT_FALSE(h.pointer.busy);
    h.clock.advance(1000);
    EXPECT_FALSE(window.Timer1.enabled());
}

TEST_F(Adding, EnterOnAFileAlreadyInTheLineupBeepsAndSaysSo) {
    frmImageSelector& window = selectorOn(folder.path());
    lineup().addItem(folder.file("a.jpg"), 0);
    window.File1.setListIndex(0);
    window.File1_KeyUp(kKeyReturn, kShiftMask);
    EXPECT_EQ(h.messages.log,
              (std::vector<std::string>{"beep", "box:That Image is already in the Lineup"}));
    EXPECT_EQ(h.messages.prompts[0].style, msgbox::Warning);
    EXPECT_FALSE(window.Picture1.visible());

    window.File1.refresh();  // no current entry: Enter does nothing
    h.messages.log.clear();
    window.File1_KeyUp(kKeyReturn, 0);
    EXPECT_TRUE(h.messages.log.empty());
    EXPECT_EQ(lineup().listCount(), 1);
}

TEST_F(Adding, AFileInTheRootFolderGetsADoubledSeparatorAndIsADuplicateTheSecondTime) {
    frmImageSelector& window = selectorOn(folder.path());
    window.Dir1.setPath("/");
    window.File1.setRows({"x.jpg"});
    window.File1.setListIndex(0);
    window.AddImage();
    EXPECT_EQ(*lineup().list(0), "//x.jpg");
    h.clock.advance(250);
    window.AddImage();
    EXPECT_EQ(h.messages.prompts.back().text, "That Image is already in the Lineup");
    EXPECT_EQ(lineup().listCount(), 1);
}

TEST_F(Adding, AFullLineupTakesWhatFitsAndSaysHowManyWereLeftOut) {
    frmImageSelector& window = selectorOn(folder.path());
    std::deque<std::string> many;
    for (int i = 0; i < ListBox::kMaxRows - 2; ++i) {
        many.push_back("/old/" + std::to_string(i) + ".jpg");
    }
    many.push_back(folder.file("a.jpg"));
    lineup().setRows(std::move(many));
    selectRows(window, {0, 1, 2});
    h.messages.log.clear();
    window.cmdAdd.click();
    EXPECT_EQ(lineup().listCount(), ListBox::kMaxRows);
    EXPECT_EQ(*lineup().list(0), folder.file("b.jpg"));
    EXPECT_TRUE(lineup().contains("/old/0.jpg"));
    EXPECT_EQ(h.messages.log,
              (std::vector<std::string>{
                  kDuplicateOne, "beep",
                  "box:(1)  Image was not added because the Image Lineup is full."}));
}

}  // namespace
}  // namespace glimpa

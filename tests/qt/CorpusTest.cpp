#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "app/Main.h"
#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "pictures/BadFiles.h"
#include "pictures/ImageFiles.h"
#include "support/Memory.h"
#include "support/QtHarness.h"
#include "support/ViewerFixture.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {
namespace {

namespace fs = std::filesystem;
using test::Expect;

/// The program on real widgets and the real decoder.
class BadInput : public test::ViewerFixtureOn<test::QtHarness> {
protected:
    /// Shows the file as a lineup entry between two good pictures and checks
    /// what every file must leave behind.
    void showAsLineupEntry(const std::string& path, Expect expect) {
        fillLineup(2);
        lineup().addItem(path, 1);
        lineup().setListIndex(1);
        const auto start = std::chrono::steady_clock::now();
        viewer->GetPic();
        const auto took = std::chrono::steady_clock::now() - start;

        const auto boxes = h.messages.prompts.size();
        if (expect == Expect::Failure) {
            EXPECT_EQ(boxes, 1u);
        } else if (expect == Expect::Picture) {
            EXPECT_EQ(boxes, 0u);
        } else {
            EXPECT_LE(boxes, 1u);
        }
        if (boxes == 1) {
            EXPECT_EQ(h.messages.prompts[0].text,
                      "An error has occurred loading this Image.  It may be corrupted.");
            EXPECT_EQ(h.app.CurrentFile, "");
            EXPECT_EQ(viewer->Image1.picture(), nullptr);
        } else {
            EXPECT_GT(viewer->ImageWidth, 0);
        }
        EXPECT_EQ(lineup().listCount(), 3);
        EXPECT_EQ(*lineup().list(1), path);
        // Generous bounds: a hostile file must not take seconds or gigabytes.
        EXPECT_LT(took, std::chrono::seconds(5));
        EXPECT_LT(test::processMegabytes("VmHWM"), 1500);
    }
};

class Corpus : public BadInput, public testing::WithParamInterface<test::BadFile> {};

TEST_P(Corpus, GivesTheOneMessageOrAPictureAndLeavesTheLineupAlone) {
    const test::BadFile& file = GetParam();
    test::writeBytes(folder.file(file.name), file.bytes);
    SCOPED_TRACE(file.category + ": " + file.name);
    showAsLineupEntry(folder.file(file.name), file.expect);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, Corpus, testing::ValuesIn(test::badPictureFiles()),
                         [](const testing::TestParamInfo<test::BadFile>& info) {
                             std::string name;
                             for (char c : info.param.name) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST_F(BadInput, FileSystemOdditiesGiveTheMessageWithoutWaiting) {
    for (const std::string& name : test::makeFileSystemOddities(folder.path())) {
        SCOPED_TRACE(name);
        h.messages.prompts.clear();
        lineup().clear();
        showAsLineupEntry(folder.file(name), Expect::Failure);
    }
}

TEST_F(BadInput, AFileThatVanishedAfterItWasListedGivesTheMessage) {
    const std::string path = jpeg("soon-gone.jpg", 10, 10);
    fs::remove(path);
    showAsLineupEntry(path, Expect::Failure);
}

TEST_F(BadInput, OddNamesAndFoldersListAddAndLoadByTheirExactBytes) {
    const std::vector<std::string> names{"with space.jpg", "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5.jpg",
                                         "latin1-\xe9t\xe9.jpg", "two\nlines.jpg"};
    for (const auto& name : names) {
        test::writeJpeg(folder.path() / name, 12, 8);
    }
    fs::create_directories(folder.path() / "locked");
    fs::permissions(folder.path() / "locked", fs::perms::none);
    fs::create_directory_symlink(folder.path() / "loop", folder.path() / "loop");
    fs::create_directory_symlink(folder.path(), folder.path() / "back-to-top");

    frmImageSelector& selector = h.app.frmImageSelector();
    selector.Dir1.setPath(folder.path().string());
    EXPECT_EQ(selector.File1.listCount(), 4);
    selector.Dir1.setPath((folder.path() / "locked").string());  // lists nothing, no hang
    selector.Dir1.setPath((folder.path() / "back-to-top" / "back-to-top").string());
    EXPECT_EQ(selector.File1.listCount(), 4);
    selector.Dir1.setPath(folder.path().string());

    selector.cmdAddAll_Click();
    for (const auto& name : names) {
        const std::string path = folder.path().string() + "/" + name;
        EXPECT_TRUE(lineup().contains(path));
        h.app.CurrentFile = path;
        viewer->LoadPic();
        EXPECT_EQ(viewer->ImageWidth, 12 * 15);
    }
    EXPECT_TRUE(h.messages.prompts.empty());
}

}  // namespace
}  // namespace glimpa

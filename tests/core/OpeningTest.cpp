#include <filesystem>

#include "app/Opening.h"
#include "support/ViewerFixture.h"

namespace glimpa {
namespace {

namespace fs = std::filesystem;

class Opening : public test::ViewerFixture {
protected:
    std::string in(const std::string& folderName, const std::string& name) {
        fs::create_directories(folder.path() / folderName);
        return jpeg(folderName + "/" + name, 8, 6);
    }
};

TEST_F(Opening, FilesAndFoldersGoToTheFrontInTheirOrderAndTheFirstIsShown) {
    lineup().addItem("/old/x.jpg", 0);
    const std::string c = in("elsewhere", "c.jpg");
    const std::string b = in("trip", "b10.jpg");
    const std::string a = in("trip", "b2.jpg");
    const std::string d = in("elsewhere", "d.jpeg");  // a picture, by its content
    test::writeBytes(folder.file("notes.txt"), "text");
    fs::create_directories(folder.path() / "documents");
    OpenPictures(h.app, {c, folder.file("trip"), folder.file("notes.txt"), folder.file("gone.jpg"),
                         "", folder.file("documents"), d});
    EXPECT_EQ(entries(), (std::vector<std::string>{c, a, b, d, "/old/x.jpg"}));
    EXPECT_EQ(h.app.CurrentFile, c);
    EXPECT_EQ(counter(), "1 of 5");
    ASSERT_EQ(h.messages.prompts.size(), 1u);  // what gave no picture, told once, each as it is
    EXPECT_EQ(h.messages.prompts[0].text,
              "(2)  Files or folders were not found.\n"
              "(1)  File was not opened: it is no BMP, JPEG or GIF picture.\n"
              "(1)  Folder holds no BMP, JPEG or GIF pictures.");
}

TEST_F(Opening, APictureAlreadyInTheLineupStaysWhereItIsAndIsShownWhenFirst) {
    const std::string p = in("f", "p.jpg");
    const std::string q = in("f", "q.jpg");
    lineup().addItem(q, 0);
    lineup().addItem(p, 0);
    const std::string fresh = in("g", "new.jpg");
    OpenPictures(h.app, {q, fresh});
    EXPECT_EQ(entries(), (std::vector<std::string>{fresh, p, q}));
    EXPECT_EQ(h.app.CurrentFile, q);
    EXPECT_EQ(counter(), "3 of 3");
    EXPECT_TRUE(h.messages.prompts.empty());  // duplicates are not told here
}

TEST_F(Opening, NamesAreTakenByteForByteAndAFullLineupSaysWhatDidNotFit) {
    const std::string latin1 = in("odd", "\xe9t\xe9.jpg");  // not UTF-8
    OpenPictures(h.app, {latin1});
    EXPECT_EQ(entries(), std::vector<std::string>{latin1});
    EXPECT_EQ(h.app.CurrentFile, latin1);

    in("odd", "a.jpg");
    in("odd", "z.jpg");
    std::deque<std::string> many;
    for (int i = 0; i < ListBox::kMaxRows - 1; ++i) {
        many.push_back("/old/" + std::to_string(i) + ".jpg");
    }
    lineup().setRows(std::move(many));
    OpenPictures(h.app, {folder.file("odd")});
    EXPECT_EQ(lineup().listCount(), ListBox::kMaxRows);
    EXPECT_EQ(*lineup().list(0), folder.file("odd/a.jpg"));  // the file list's order
    ASSERT_EQ(h.messages.prompts.size(), 1u);
    EXPECT_EQ(h.messages.prompts[0].text,
              "(2)  Images were not added because the Image Lineup is full.");
}

}  // namespace
}  // namespace glimpa

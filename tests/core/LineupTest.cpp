#include <gtest/gtest.h>

#include "platform/controls/Form.h"
#include "platform/controls/ListBox.h"

namespace glimpa {
namespace {

std::vector<std::string> rowsOf(const ListBox& list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list.listCount(); ++i) {
        rows.push_back(*list.list(i));
    }
    return rows;
}

class Lineup : public testing::Test {
protected:
    Form form{"f"};
    ListBox lineup{"ListPictures", &form};
};

TEST_F(Lineup, InsertsAtTheFrontSoTheNewestComesFirst) {
    for (const char* path : {"/p/A.jpg", "/p/B.jpg", "/p/C.jpg"}) {
        lineup.addItem(path, 0);
    }
    EXPECT_EQ(rowsOf(lineup), (std::vector<std::string>{"/p/C.jpg", "/p/B.jpg", "/p/A.jpg"}));
    EXPECT_EQ(lineup.listIndex(), -1);
    EXPECT_EQ(lineup.text(), "");
}

TEST_F(Lineup, ActiveEntryFollowsInsertionsAndIsGoneWithItsRemoval) {
    lineup.addItem("a", 0);
    lineup.addItem("b", 0);
    ASSERT_TRUE(lineup.setListIndex(1));
    EXPECT_EQ(lineup.text(), "a");
    lineup.addItem("c", 0);
    EXPECT_EQ(lineup.text(), "a");
    lineup.removeItem(0);
    EXPECT_EQ(lineup.text(), "a");
    lineup.removeItem(lineup.listIndex());
    EXPECT_EQ(lineup.listIndex(), -1);
    EXPECT_EQ(rowsOf(lineup), std::vector<std::string>{"b"});
}

TEST_F(Lineup, OutOfRangeOperationsFailAndChangeNothing) {
    EXPECT_FALSE(lineup.setListIndex(0));
    EXPECT_TRUE(lineup.setListIndex(-1));
    lineup.addItem("a", 0);
    lineup.setListIndex(0);
    EXPECT_FALSE(lineup.setListIndex(1));
    EXPECT_FALSE(lineup.setListIndex(-2));
    EXPECT_FALSE(lineup.removeItem(1));
    EXPECT_FALSE(lineup.setSelected(5, true));
    EXPECT_EQ(lineup.list(1), nullptr);
    EXPECT_EQ(lineup.listIndex(), 0);
    EXPECT_EQ(lineup.listCount(), 1);
}

TEST_F(Lineup, DuplicateTestIsExactAndCaseSensitiveAndKeptInStepWithRemovals) {
    EXPECT_FALSE(lineup.contains("/Photos/a.jpg"));
    lineup.addItem("/Photos/a.jpg", 0);
    EXPECT_TRUE(lineup.contains("/Photos/a.jpg"));
    EXPECT_FALSE(lineup.contains("/photos/a.jpg"));
    lineup.addItem("/photos/a.jpg", 0);
    lineup.removeItem(1);
    EXPECT_FALSE(lineup.contains("/Photos/a.jpg"));
    EXPECT_TRUE(lineup.contains("/photos/a.jpg"));
    lineup.clear();
    EXPECT_FALSE(lineup.contains("/photos/a.jpg"));
    EXPECT_EQ(lineup.listIndex(), -1);
}

TEST_F(Lineup, RefusesAnInsertionBeyondItsLimit) {
    std::deque<std::string> rows;
    for (int i = 0; i < ListBox::kMaxRows; ++i) {
        rows.push_back(std::to_string(i));
    }
    lineup.setRows(std::move(rows));
    EXPECT_FALSE(lineup.addItem("one too many", 0));
    EXPECT_EQ(lineup.listCount(), ListBox::kMaxRows);
    EXPECT_EQ(*lineup.list(0), "0");
    EXPECT_TRUE(lineup.contains("32766"));
}

TEST(ExtendedList, SelectsRangesWithShiftAndTogglesWithCtrl) {
    Form form("f");
    ListBox files("File1", &form, SelectionMode::Extended);
    files.setRows({"a", "b", "c", "d"});
    int clicks = 0;
    files.Click.connect([&] { ++clicks; });
    files.platformSetCurrent(1, true, 0);
    files.platformSetCurrent(3, true, kShiftMask);
    EXPECT_EQ(files.selectedCount(), 3);
    files.platformSetCurrent(2, true, kCtrlMask);
    EXPECT_FALSE(files.selected(2));
    EXPECT_EQ(files.listIndex(), 2);
    EXPECT_EQ(files.selectedCount(), 2);
    EXPECT_EQ(clicks, 3);
}

}  // namespace
}  // namespace glimpa

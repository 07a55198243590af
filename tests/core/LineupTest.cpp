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

}  // namespace
}  // namespace glimpa

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "lineup_selector/frmLineupSelector.h"
#include "support/Harness.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {
namespace {

using test::Harness;

TEST(LineupSelectorPlace, FirstRunOpensAtTheDefaults) {
    Harness h;
    Form& form = h.app.frmLineupSelector().form();
    EXPECT_EQ(form.left(), 1000);
    EXPECT_EQ(form.top(), 1000);
    EXPECT_EQ(form.width(), 3000);
    EXPECT_EQ(form.height(), 3000);
    EXPECT_TRUE(form.topmost());
}

TEST(LineupSelectorPlace, AValueThatIsNotANumberLeavesOnlyItsOwnPropertyAlone) {
    Harness h;
    h.store("LineupSelectorLeft", "abc");
    h.store("LineupSelectorWidth", "5000x");
    h.store("LineupSelectorHeight", "4100");
    h.settings.notText = {"LineupSelectorTop"};  // a list: its step is skipped too
    frmLineupSelector& selector = h.app.frmLineupSelector();
    Form& form = selector.form();
    EXPECT_EQ(form.left(), 0);  // the design value
    EXPECT_EQ(form.top(), 0);
    EXPECT_EQ(form.width(), 6660 + 120);
    EXPECT_EQ(form.height(), 4100);
    // The list fills the client area after every resize.
    EXPECT_EQ(selector.ListPictures.width(), form.clientWidth());
    EXPECT_EQ(selector.ListPictures.height(), form.clientHeight());
}

TEST(LineupSelectorPlace, ResizingBelowTheMinimumSnapsBackAndTheListFollows) {
    Harness h;
    frmLineupSelector& selector = h.app.frmLineupSelector();
    selector.form().setWidth(2000);
    selector.form().setHeight(8000);
    EXPECT_EQ(selector.form().width(), 3000);
    EXPECT_EQ(selector.form().height(), 8000);
    EXPECT_EQ(selector.ListPictures.width(), selector.form().clientWidth());
    EXPECT_EQ(selector.ListPictures.height(), selector.form().clientHeight());
}

TEST(LineupSelectorPlace, AFailingSaveSkipsOnlyItsOwnKey) {
    Harness h;
    h.settings.failingKeys = {"LineupSelectorTop"};
    h.app.frmLineupSelector();
    h.app.frmImageViewer().form().requestUnload();
    EXPECT_EQ(h.settings.saved,
              (std::vector<std::string>{"LineupSelectorLeft", "LineupSelectorHeight",
                                        "LineupSelectorWidth"}));
}

}  // namespace
}  // namespace glimpa

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Numbers.h"
#include "platform/controls/Form.h"
#include "platform/controls/ScrollBar.h"

namespace glimpa {
namespace {

TEST(ScrollBar, RaisesChangeOnlyForANewValueAndRefusesValuesOutsideItsRange) {
    Form form("f");
    HScrollBar bar("bar", &form);
    bar.setMax(100);
    int changes = 0;
    int scrolls = 0;
    bar.Change.connect([&] { ++changes; });
    bar.Scroll.connect([&] { ++scrolls; });

    EXPECT_TRUE(bar.setValue(40));
    EXPECT_TRUE(bar.setValue(40));
    EXPECT_FALSE(bar.setValue(101));
    EXPECT_FALSE(bar.setSmallChange(0));
    EXPECT_EQ(bar.value(), 40);
    EXPECT_EQ(changes, 1);

    bar.platformScroll(60);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(changes, 1);

    // Shrinking the range pulls the value in and reports the change.
    bar.setMax(7);
    EXPECT_EQ(bar.value(), 7);
    EXPECT_EQ(changes, 2);
    // A negative maximum (picture smaller than the frame) is a valid range.
    bar.setMax(-20);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_TRUE(bar.setValue(-10));
}

TEST(Form, SizingRaisesResizeAtOnceAndNestedResizesRunInside) {
    Form form("f");
    form.setClientSize(6000, 4000);
    std::vector<std::string> trace;
    form.Resize.connect([&] {
        trace.push_back("resize " + std::to_string(static_cast<int>(form.width())));
        if (form.width() < 3000) {
            form.setWidth(3000);
        }
    });
    form.setWidth(1000);
    trace.push_back("after");
    EXPECT_EQ(trace, (std::vector<std::string>{"resize 1000", "resize 3000", "after"}));
    EXPECT_EQ(form.width(), 3000);

    trace.clear();
    form.setWidth(3000);
    EXPECT_TRUE(trace.empty());
}

TEST(Form, MaximizedOrMinimizedWindowRefusesToBeSized) {
    Form form("f");
    form.setWorkArea({0, 0, 15000, 9000});
    form.setClientSize(3000, 3000);
    form.setWindowState(WindowState::Maximized);
    EXPECT_EQ(form.width(), 15000);
    EXPECT_FALSE(form.setWidth(8000));
    form.setWindowState(WindowState::Minimized);
    EXPECT_FALSE(form.setHeight(8000));
    form.setWindowState(WindowState::Normal);
    EXPECT_TRUE(form.setWidth(8000));
}

TEST(Form, FirstShowRaisesResizeThenActivateAndKeysReachPreviewOnlyWhenAskedFor) {
    Form form("f");
    std::vector<std::string> trace;
    form.Resize.connect([&] { trace.push_back("resize"); });
    form.Activate.connect([&] { trace.push_back("activate"); });
    form.KeyPress.connect([&](int& key) { trace.push_back("key " + std::to_string(key)); });
    form.show();
    form.hide();
    form.platformDeactivated();
    form.show();
    form.platformKeyPress('a');
    form.setKeyPreview(true);
    form.platformKeyPress('a');
    EXPECT_EQ(trace, (std::vector<std::string>{"resize", "activate", "activate", "key 97"}));
}

TEST(Numbers, RoundHalvesToEvenAndFailOutsideTheRange) {
    EXPECT_EQ(toWhole32(2.5), 2);
    EXPECT_EQ(toWhole32(3.5), 4);
    EXPECT_EQ(toWhole32(-500.5), -500);
    EXPECT_FALSE(toWhole32(2147483647.6).has_value());
    EXPECT_EQ(toWhole32(40000.5), 40000);
    EXPECT_FALSE(toWhole32(1.0 / 0.0).has_value());
    EXPECT_FALSE(toWhole32(0.0 / 0.0).has_value());
}

TEST(Numbers, ReadOnlyWholeDecimalNumbersAndWriteTextThatReadsBack) {
    EXPECT_EQ(parseSingle("1000"), 1000.0f);
    EXPECT_EQ(parseSingle(" -12.5 "), -12.5f);
    EXPECT_EQ(parseSingle("1E3"), 1000.0f);
    for (const char* junk : {"", "abc", "12abc", "1,5", "nan", "inf", "1e99", "0x10"}) {
        EXPECT_FALSE(parseSingle(junk).has_value()) << junk;
    }
    EXPECT_EQ(singleToText(1000.0f), "1000");
    EXPECT_EQ(singleToText(100000.0f), "100000");
    for (float value : {0.1f, 1234.5f, -7.25f, 3.4e38f}) {
        EXPECT_EQ(parseSingle(singleToText(value)), value);
    }
}

}  // namespace
}  // namespace glimpa

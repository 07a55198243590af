#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Numbers.h"
#include "platform/controls/Form.h"
#include "platform/controls/ScrollBar.h"

namespace glimpa {
namespace {

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

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Numbers.h"
#include "platform/controls/Form.h"
#include "platform/controls/ScrollBar.h"
#include "platform/files/Mounts.h"

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

TEST(Mounts, TheDrivesAreTheMountPointsThatHoldUserFilesReadFromTheTableAlone) {
    // A dead network share is listed like any other: the table is all that
    // is read, never the file systems themselves.
    const std::string table =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "23 22 0:5 / /proc rw - proc proc rw\n"
        "24 22 0:21 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "25 22 0:6 / /dev/shm rw - tmpfs tmpfs rw\n"
        "26 22 0:30 / /run/user/1000 rw - tmpfs tmpfs rw\n"
        "27 22 8:17 / /run/media/me/Holiday\\040Stick rw shared:9 master:2 - vfat /dev/sdb1 rw\n"
        "28 22 0:40 / /mnt/nas rw - nfs4 nas:/photos rw\n"
        "29 22 0:41 / /home rw - btrfs /dev/sda2 rw\n"
        "30 29 0:41 / /home rw - btrfs /dev/sda2 rw\n"
        "31 22 0:42 / /procurement rw - ext4 /dev/sda3 rw\n"
        "32 22 7:3 / /snap/firefox/3290 ro - squashfs /dev/loop3 ro\n"  // a program's image
        "garbled line\n";
    EXPECT_EQ(userMountPoints(table),
              (std::vector<std::string>{"/", "/home", "/mnt/nas", "/procurement",
                                        "/run/media/me/Holiday Stick"}));
    EXPECT_EQ(userMountPoints("23 1 0:5 / /proc rw - proc proc rw\n"),
              std::vector<std::string>{"/"});
}

}  // namespace
}  // namespace glimpa

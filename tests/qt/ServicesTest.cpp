#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Timer.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTimerService.h"

namespace glimpa {
namespace {

TEST(QtSettingsStore, RoundTripsTextAndGivesDefaultsForAbsentKeys) {
    QTemporaryDir folder;
    {
        QtSettingsStore store(folder.path());
        EXPECT_EQ(store.get("GLIMPA", "Settings", "ImageSelectorPath", ""), "");
        EXPECT_TRUE(store.save("GLIMPA", "Settings", "ImageSelectorPath", "/home/me/Pictures"));
        EXPECT_TRUE(store.save("GLIMPA", "Settings", "LineupSelectorLeft", "1000"));
    }
    QtSettingsStore reopened(folder.path());
    EXPECT_EQ(reopened.get("GLIMPA", "Settings", "ImageSelectorPath", ""), "/home/me/Pictures");
    EXPECT_EQ(reopened.get("GLIMPA", "Settings", "LineupSelectorLeft", "5"), "1000");
    EXPECT_EQ(reopened.get("Other", "Settings", "LineupSelectorLeft", "5"), "5");
}

TEST(QtSettingsStore, DamagedFileGivesDefaultsAndNothingBreaks) {
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("GLIMPA");
    QFile file(folder.filePath("GLIMPA/GLIMPA.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings\nLineupSelectorLeft=@Variant(\\0\\0\\0\\x7f\xff\xfe)\n\x01\x02garbage");
    file.close();
    QtSettingsStore store(folder.path());
    EXPECT_EQ(store.get("GLIMPA", "Settings", "LineupSelectorLeft", "1000"), "1000");
}

TEST(QtSettingsStore, AFolderThatCannotBeMadeMakesSavingFailQuietly) {
    QTemporaryDir folder;
    QFile blocker(folder.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QtSettingsStore store(folder.filePath("not-a-folder/config"));
    EXPECT_FALSE(store.save("GLIMPA", "Settings", "LineupSelectorLeft", "1000"));
    EXPECT_EQ(store.get("GLIMPA", "Settings", "LineupSelectorLeft", "7"), "7");
}

TEST(QtTimerService, TicksThroughTheEventLoopUntilDisabled) {
    QtTimerService service;
    Timer timer("t", service);
    int ticks = 0;
    timer.Tick.connect([&] {
        if (++ticks == 2) {
            timer.setEnabled(false);
        }
    });
    timer.setInterval(5);
    QElapsedTimer clock;
    clock.start();
    while (ticks < 2 && clock.elapsed() < 5000) {
        QTest::qWait(5);
    }
    QTest::qWait(30);
    EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace glimpa

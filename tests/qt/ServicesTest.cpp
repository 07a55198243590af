#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <QAccessible>
#include <QApplication>
#include <QTextBrowser>
#include <QTimer>

#include "platform/controls/Timer.h"
#include "platform/qt/QtInstanceChannel.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTimerService.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/qt/widgets/HelpWindow.h"

namespace glimpa {
namespace {

TEST(QtSettingsStore, DamagedFileGivesDefaultsAndNothingBreaks) {
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("GLIMPA");
    QFile file(folder.filePath("GLIMPA/GLIMPA.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings\nLineupSelectorLeft=@Variant(\\0\\0\\0\\x7f\xff\xfe)\n\x01\x02garbage");
    file.close();
    QtSettingsStore store(folder.path());
    EXPECT_EQ(store.get("GLIMPA", "Settings", "LineupSelectorLeft", "1000"), "1000");

    // Saving moves the damaged file aside, kept as it was, and starts anew.
    EXPECT_TRUE(store.save("GLIMPA", "Settings", "LineupSelectorLeft", "1500"));
    EXPECT_EQ(store.get("GLIMPA", "Settings", "LineupSelectorLeft", "1000"), "1500");
    const QStringList aside =
        QDir(folder.filePath("GLIMPA")).entryList({"GLIMPA.conf.damaged-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    QFile kept(folder.filePath("GLIMPA/" + aside.front()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().startsWith("[Settings\nLineupSelectorLeft"));
}

TEST(QtSettingsStore, SavedValuesReachTheFileTogetherInOneWriteAtTheFlush) {
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("GLIMPA");
    QFile file(folder.filePath("GLIMPA/GLIMPA.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nImageSelectorLeft=1000\nNotes=" + QByteArray(10'000'000, 'x') + "\n");
    file.close();
    QtSettingsStore store(folder.path());
    for (const char* key : {"ImageSelectorLeft", "ImageSelectorTop", "LineupSelectorLeft"}) {
        EXPECT_TRUE(store.save("GLIMPA", "Settings", key, "2500"));
    }
    auto onDisk = [&] {
        QFile written(file.fileName());
        return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
    };
    EXPECT_TRUE(onDisk().contains("ImageSelectorLeft=1000\n"));  // still the old file
    EXPECT_FALSE(onDisk().contains("ImageSelectorTop"));
    store.flush();
    QSettings afterwards(file.fileName(), QSettings::IniFormat);
    for (const char* key : {"ImageSelectorLeft", "ImageSelectorTop", "LineupSelectorLeft"}) {
        EXPECT_EQ(afterwards.value(QStringLiteral("Settings/") + key).toString(), "2500") << key;
    }
    EXPECT_EQ(afterwards.value("Settings/Notes").toString().size(), 10'000'000);
}

TEST(QtSettingsStore, NeverReadsOrWritesThroughANodeThatIsNotARegularFile) {
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("GLIMPA");
    const QString conf = folder.filePath("GLIMPA/GLIMPA.conf");
    const QString pipe = folder.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QtSettingsStore store(folder.path());
    for (const bool linked : {false, true}) {
        QFile::remove(conf);
        if (linked) {
            ASSERT_TRUE(QFile::link(pipe, conf));  // a link to a node that is not a file
        } else {
            ASSERT_EQ(::mkfifo(QFile::encodeName(conf).constData(), 0600), 0);
        }
        // Would block for ever if the pipe were opened.
        EXPECT_EQ(store.get("GLIMPA", "Settings", "LineupSelectorLeft", "1000"), "1000");
        EXPECT_FALSE(store.save("GLIMPA", "Settings", "LineupSelectorLeft", "1500"));
        EXPECT_EQ(QFileInfo(conf).isSymLink(), linked);
        EXPECT_FALSE(QFileInfo(linked ? pipe : conf).isFile());  // still the pipe
    }
}

TEST(QtSettingsStore, ALinkToARegularFileStaysALinkAndItsFileIsWritten) {
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("GLIMPA");
    QDir(folder.path()).mkpath("dotfiles");
    const QString target = folder.filePath("dotfiles/GLIMPA.conf");
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nLineupSelectorTop=2000\n");
    file.close();
    const QString conf = folder.filePath("GLIMPA/GLIMPA.conf");
    ASSERT_TRUE(QFile::link(target, conf));
    QtSettingsStore store(folder.path());
    EXPECT_EQ(store.get("GLIMPA", "Settings", "LineupSelectorTop", "1000"), "2000");
    EXPECT_TRUE(store.save("GLIMPA", "Settings", "LineupSelectorLeft", "1500"));
    EXPECT_TRUE(QFileInfo(conf).isSymLink());
    QSettings written(target, QSettings::IniFormat);
    EXPECT_EQ(written.value("Settings/LineupSelectorLeft").toString(), "1500");
}

TEST(QtSettingsStore, KeepsFolderNamesByteForByteAndTellsAValueThatIsNotText) {
    QTemporaryDir folder;
    const std::string latin1 = "/home/me/\xe9t\xe9";  // not UTF-8
    {
        QtSettingsStore store(folder.path());
        EXPECT_EQ(store.get("GLIMPA", "Settings", "ImageSelectorPath", "absent"), "absent");
        EXPECT_TRUE(store.save("GLIMPA", "Settings", "ImageSelectorPath", latin1));
    }
    QFile file(folder.filePath("GLIMPA/GLIMPA.conf"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("LineupSelectorLeft=1000, 2000\n");
    file.close();
    QtSettingsStore store(folder.path());
    EXPECT_EQ(store.get("GLIMPA", "Settings", "ImageSelectorPath", ""), latin1);
    EXPECT_EQ(store.get("Other", "Settings", "ImageSelectorPath", "5"), "5");
    EXPECT_EQ(store.get("GLIMPA", "Settings", "LineupSelectorLeft", "5"), std::nullopt);
}

TEST(QtSettingsStore, AFolderThatCannotBeMadeMakesSavingFailQuietly) {
    QTemporaryDir folder;
    QFile blocker(folder.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    {
        QtSettingsStore store(folder.filePath("not-a-folder/config"));
        store.save("GLIMPA", "Settings", "LineupSelectorLeft", "1000");
        store.flush();
    }
    QtSettingsStore reopened(folder.filePath("not-a-folder/config"));
    EXPECT_EQ(reopened.get("GLIMPA", "Settings", "LineupSelectorLeft", "7"), "7");
}

TEST(QtEnvironment, NamesAreSortedAsFileDialogsSortThemInEveryLanguage) {
    std::vector<std::string> names{"zoo.jpg",  "\xc3\x89lan.jpg", "img10.jpg",
                                   "Img2.jpg", "apple.jpg",       "\xc3\xa9lan.jpg"};
    QtEnvironment().nameSorter()(names);
    EXPECT_EQ(names, (std::vector<std::string>{"apple.jpg", "\xc3\x89lan.jpg", "\xc3\xa9lan.jpg",
                                               "Img2.jpg", "img10.jpg", "zoo.jpg"}));

    // Plain ASCII names, which some languages order without the collation
    // library, come out in the collation's order all the same.
    const std::string alphabet = "aAbcCdeghiIlnorsStvwyzZ0012 _-.,(~$#";
    std::vector<std::string> ascii;
    for (unsigned seed = 1; ascii.size() < 150; seed = seed * 1103515245 + 12345) {
        std::string name;
        for (unsigned length = 1 + seed % 7, next = seed; name.size() < length; next /= 7) {
            name += alphabet[(next ^ (seed >> 16)) % alphabet.size()];
        }
        ascii.push_back(name + ".jpg");
    }
    for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory)) {
        if (locale.language() == QLocale::C) {
            continue;  // taken as English
        }
        QCollator collator(locale);
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<std::string> expected = ascii;
        std::sort(expected.begin(), expected.end(),
                  [&](const std::string& a, const std::string& b) {
                      const int order =
                          collator.compare(QString::fromStdString(a), QString::fromStdString(b));
                      return order != 0 ? order < 0 : a < b;
                  });
        std::vector<std::string> sorted = ascii;
        QtEnvironment::nameSorter(locale)(sorted);
        ASSERT_EQ(sorted, expected) << locale.name().toStdString();
    }
}

/// Runs work on a thread of its own while this thread's event loop turns,
/// from the moment given on (until then the program is busy).
template <typename Work>
auto whileServing(Work work, std::chrono::milliseconds busy = {}) {
    auto result = std::async(std::launch::async, work);
    std::this_thread::sleep_for(busy);
    while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    return result.get();
}

TEST(QtInstanceChannel, HandsPathsToTheRunningProgramPastStaleSocketsAndJunk) {
    QTemporaryDir folder;
    const QString path = folder.filePath("instance");
    // What a program killed while it listened leaves behind.
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(),
                 sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(stale);

    QtInstanceChannel running(path);
    ASSERT_TRUE(running.listen());
    // A start a moment later, while the program still builds its windows,
    // is answered, and its paths are kept until the program takes them.
    const QtInstanceChannel::Handover early{{"/early.jpg"}, {}};
    auto taken = [&](const QtInstanceChannel::Handover& handover) {
        return QtInstanceChannel(path).handOver(handover) == QtInstanceChannel::Answer::Taken;
    };
    // It is still busy when the start comes, for longer than a connection takes.
    EXPECT_TRUE(whileServing([&] { return taken(early); }, std::chrono::milliseconds(3000)));
    std::vector<QtInstanceChannel::Handover> received;
    running.receive([&](const auto& handover) { received.push_back(handover); },
                    [] { return false; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !received.empty(); }, 2000));
    EXPECT_EQ(received, std::vector{early});
    received.clear();

    // A hostile sender, a length far beyond the limit, then noise, is cut
    // off without an answer.
    EXPECT_EQ(whileServing([&] {
                  const auto junk = unix_socket::connectTo(path, QDeadlineTimer(2000));
                  unix_socket::sendAll(junk.get(),
                                       QByteArray("\xff\xff\xff\xff") + QByteArray(64, '\x01'),
                                       QDeadlineTimer(2000));
                  return unix_socket::receiveByte(junk.get(), QDeadlineTimer(2000));
              }),
              unix_socket::kClosed);
    // A start that gave up waiting (it opens its files itself) is not given
    // them as well.
    unix_socket::sendAll(unix_socket::connectTo(path, QDeadlineTimer(2000)).get(),
                         QByteArray("\0\0\0\x0b\0/gone.jpg\0", 15), QDeadlineTimer(2000));
    QTest::qWait(200);
    EXPECT_TRUE(received.empty());
    const QtInstanceChannel::Handover sent{{"/photos/\xe9t\xe9.jpg", "/photos/trip"},
                                           "files-42_TIME1234"};
    EXPECT_TRUE(whileServing([&] { return taken(sent); }));
    EXPECT_EQ(received, std::vector{sent});
    // A startup id that no launcher gives goes no further than the channel.
    for (const QByteArray& odd : {QByteArray(2000, 'x'), QByteArray("id with\nbreak")}) {
        EXPECT_TRUE(whileServing([&] { return taken({{"/a.jpg"}, odd}); }));
        EXPECT_EQ(received.back(), (QtInstanceChannel::Handover{{"/a.jpg"}, {}}));
    }
    received.resize(1);

    // What comes while a box waits for the user's answer waits for it too.
    QWidget window;
    window.show();
    QMessageBox box(QMessageBox::Question, "GLIMPA", "Remove?", QMessageBox::Yes);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    EXPECT_TRUE(whileServing([&] { return taken({{"/later.jpg"}, {}}); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(received.size(), 1U);
    box.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 2000));

    QtInstanceChannel second(path);  // a second program does not take the channel over
    EXPECT_FALSE(second.listen());
}

TEST(QtInstanceChannel, AProgramOnItsWayOutTakesNothingAndTheStartOpensItsOwn) {
    QTemporaryDir folder;
    const QString path = folder.filePath("instance");
    QtInstanceChannel closing(path);
    ASSERT_TRUE(closing.listen());
    bool received = false;
    closing.receive([&](const auto&) { received = true; }, [] { return true; });
    QtInstanceChannel next(path);
    EXPECT_EQ(whileServing([&] {
                  return next.handOver({{"/a.jpg"}, {}});
              }),
              QtInstanceChannel::Answer::NoProgram);
    EXPECT_TRUE(next.listen());
    QCoreApplication::processEvents();
    EXPECT_FALSE(received);
}

TEST(QtInstanceChannel, AProgramStartedBesideTheOneThatListensTakesTheFilesOnceThatOneHasGone) {
    QTemporaryDir folder;
    const QString path = folder.filePath("instance");
    auto first = std::make_unique<QtInstanceChannel>(path);
    ASSERT_TRUE(first->listen());
    QtInstanceChannel second(path);
    ASSERT_FALSE(second.listen());
    std::vector<QtInstanceChannel::Handover> received;
    second.receive([&](const auto& handover) { received.push_back(handover); },
                   [] { return false; });
    first.reset();  // the first program closes
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(path); }, 2000));
    const QtInstanceChannel::Handover opened{{"/a.jpg"}, {}};
    EXPECT_EQ(whileServing([&] { return QtInstanceChannel(path).handOver(opened); }),
              QtInstanceChannel::Answer::Taken);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !received.empty(); }, 2000));
    EXPECT_EQ(received, std::vector{opened});
}

TEST(QtInstanceChannel, EachDisplayOfTheUserHasAProgramOfItsOwn) {
    QTemporaryDir runtime;
    const QProcessEnvironment before = QProcessEnvironment::systemEnvironment();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    auto on = [](const char* name) {
        qputenv("DISPLAY", name);
        return std::make_unique<QtInstanceChannel>();
    };
    const auto local = on(":0");
    EXPECT_TRUE(local->listen());
    EXPECT_TRUE(on("localhost:10.0")->listen());  // a remote session of the same user
    EXPECT_FALSE(on(":0")->listen());
    // A runtime folder open to others is no private place, nor is the one
    // in the temporary folder that stands in for it: no channel, and never a
    // socket elsewhere.
    const QString open = runtime.filePath("open");
    const QString standIn =
        open + "/runtime-" + QString::fromLocal8Bit(::getpwuid(::getuid())->pw_name);
    QDir().mkpath(standIn);
    for (const QString& folder : {open, standIn}) {
        QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ExeOther);
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open));
    qputenv("TMPDIR", QFile::encodeName(open));
    const auto nowhere = on(":1");
    EXPECT_FALSE(nowhere->listen());
    EXPECT_EQ(nowhere->handOver({{"/a.jpg"}, {}}), QtInstanceChannel::Answer::NoProgram);
    for (const char* name : {"DISPLAY", "XDG_RUNTIME_DIR", "TMPDIR"}) {
        if (before.contains(name)) {
            qputenv(name, before.value(name).toLocal8Bit());
        } else {
            qunsetenv(name);
        }
    }
}

TEST(QtWindowSystem, AWaylandSessionWithAnXServerBesideItGetsXFirstUnlessTheUserChose) {
    /// The window system chosen for a start in this environment; "" for Qt's own choice.
    auto chosen = [](std::initializer_list<std::pair<const char*, const char*>> environment) {
        const QByteArray saved[] = {qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"),
                                    qgetenv("DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
        const char* names[] = {"WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY", "QT_QPA_PLATFORM"};
        for (const char* name : names) {
            qunsetenv(name);
        }
        for (const auto& [name, value] : environment) {
            qputenv(name, value);
        }
        preferPlaceableWindows();
        const QByteArray choice = qgetenv("QT_QPA_PLATFORM");
        forgetWindowSystemChoice();
        const QByteArray left = qgetenv("QT_QPA_PLATFORM");
        for (int i = 0; i < 4; ++i) {
            saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
        }
        return std::pair{choice, left};
    };
    using Choice = std::pair<QByteArray, QByteArray>;
    EXPECT_EQ(chosen({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}),
              Choice("xcb;wayland", ""));  // and programs it starts choose for themselves
    EXPECT_EQ(chosen({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}}),
              Choice("xcb;wayland", ""));
    EXPECT_EQ(chosen({{"WAYLAND_DISPLAY", "wayland-0"}}), Choice("", ""));  // no X server
    EXPECT_EQ(
        chosen(
            {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}),
        Choice("wayland", "wayland"));
    EXPECT_EQ(chosen({{"DISPLAY", ":0"}}), Choice("", ""));  // X11 is Qt's choice there
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

TEST(QtHelpViewer, OpensTheHelpFileInItsOwnBrowserAtTheSectionAskedFor) {
    QtTimerService timers;
    QtMessageBoxes messages(timers);
    QtHelpViewer help(messages);
    help.setHelpFile(GLIMPA_SOURCE_DIR "/resources/help/HELPFILE.HLP");
    help.showHelp("");
    ASSERT_NE(help.window(), nullptr);
    EXPECT_TRUE(help.window()->isVisible());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(help.window())->role(), QAccessible::Window);
    QTextBrowser* browser = help.window()->browser();
    EXPECT_TRUE(browser->toPlainText().contains("Image Lineup"));
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(browser->isBackwardAvailable());
    help.showHelp("selector");
    const int section = browser->verticalScrollBar()->value();
    EXPECT_GT(section, 0);
    EXPECT_TRUE(browser->isBackwardAvailable());  // Back returns to the top
    browser->verticalScrollBar()->setValue(0);
    help.showHelp("selector");
    EXPECT_EQ(browser->verticalScrollBar()->value(), section);
}

TEST(QtHelpViewer, AMissingHelpFileGetsAClearMessageWhileTheTimersWait) {
    QtTimerService timers;
    QtMessageBoxes messages(timers);
    QtHelpViewer help(messages);
    Timer slideshow("Timer1", timers);
    int ticks = 0;
    slideshow.Tick.connect([&] { ++ticks; });
    slideshow.setInterval(5);
    help.setHelpFile("/nowhere/HELPFILE.HLP");
    QString shown;
    int ticksWhileOpen = -1;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            QTest::qWait(60);
            ticksWhileOpen = ticks;
            box->accept();
        }
    });
    help.showHelp("");
    EXPECT_TRUE(shown.contains("/nowhere/HELPFILE.HLP"));
    EXPECT_EQ(ticksWhileOpen, 0);
    EXPECT_EQ(help.window(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 5000));  // running again
}

}  // namespace
}  // namespace glimpa

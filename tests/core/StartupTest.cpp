#include <gtest/gtest.h>

#include <algorithm>

#include "app/Main.h"
#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "support/Harness.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {
namespace {

using test::Harness;

TEST(Startup, MainShowsTheMaximizedViewerWithItsIdleTextsAndNamesTheHelpFile) {
    Harness h;
    h.app.AppClosing = true;
    Main(h.app);
    frmImageViewer& viewer = h.app.frmImageViewer();

    EXPECT_FALSE(h.app.AppClosing);
    EXPECT_TRUE(viewer.form().visible());
    EXPECT_EQ(viewer.form().windowState(), WindowState::Maximized);
    EXPECT_EQ(viewer.form().width(), h.environment.area.width);
    const std::string version = viewer.lblVersion.caption();
    EXPECT_EQ(version.rfind("Release:  ", 0), 0u);
    EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
    EXPECT_EQ(viewer.lblCopyRight.caption().rfind("\u00a9", 0), 0u);
    EXPECT_EQ(viewer.lblHelp.caption(), "Press F1 for Help");
    EXPECT_EQ(viewer.Image2.width(), 226 * 15);
    EXPECT_TRUE(viewer.picBackground.hasFocus());
    EXPECT_EQ(h.app.CurrentFile, "");
    EXPECT_FALSE(viewer.Timer1.enabled());
    EXPECT_EQ(viewer.Timer2.interval(), 100);
    EXPECT_EQ(h.help.helpFile, "/opt/glimpa/HELPFILE.HLP");
}

TEST(Closing, SideWindowCloseBoxOnlyHidesItAndKeepsTheLineup) {
    Harness h;
    Main(h.app);
    frmLineupSelector& selector = h.app.frmLineupSelector();
    selector.ListPictures.addItem("/p/a.jpg", 0);
    selector.form().show();

    EXPECT_FALSE(selector.form().requestUnload());
    EXPECT_FALSE(selector.form().visible());
    EXPECT_TRUE(h.app.isLoaded(WindowId::LineupSelector));
    EXPECT_EQ(&h.app.frmLineupSelector(), &selector);
    EXPECT_EQ(selector.ListPictures.text(), "");
    EXPECT_EQ(selector.ListPictures.listCount(), 1);
    EXPECT_TRUE(h.settings.saved.empty());
    EXPECT_EQ(h.process.quitted, 0);
}

TEST(Closing, MainWindowCloseSavesTheSideWindowsPlaceAndEndsTheProgram) {
    Harness h;
    Main(h.app);
    frmLineupSelector& selector = h.app.frmLineupSelector();
    selector.form().setLeft(1500);
    selector.form().setTop(2500);
    selector.form().setWidth(4000);
    selector.form().setHeight(5000.5f);

    EXPECT_TRUE(h.app.frmImageViewer().form().requestUnload());
    EXPECT_TRUE(h.app.AppClosing);
    EXPECT_EQ(h.settings.saved,
              (std::vector<std::string>{"LineupSelectorLeft", "LineupSelectorTop",
                                        "LineupSelectorHeight", "LineupSelectorWidth"}));
    EXPECT_EQ(h.stored("LineupSelectorLeft"), "1500");
    EXPECT_EQ(h.stored("LineupSelectorHeight"), "5000.5");
    EXPECT_EQ(h.settings.flushes, 1);  // once, after every window has saved
    EXPECT_EQ(h.settings.savedAtFlush, h.settings.saved.size());
    EXPECT_FALSE(h.app.isLoaded(WindowId::ImageViewer));
    EXPECT_FALSE(h.app.isLoaded(WindowId::LineupSelector));
    EXPECT_EQ(h.process.quitted, 1);
}

TEST(Closing, MinimizedSideWindowsSaveNothingButStillGo) {
    Harness h;
    Main(h.app);
    h.store("LineupSelectorLeft", "1234");
    h.app.frmLineupSelector().form().setWindowState(WindowState::Minimized);
    h.app.frmImageSelector().form().setWindowState(WindowState::Minimized);
    h.app.frmImageViewer().form().requestUnload();
    EXPECT_TRUE(h.settings.saved.empty());
    EXPECT_FALSE(h.app.isLoaded(WindowId::ImageSelector));
    EXPECT_EQ(h.stored("LineupSelectorLeft"), "1234");
    EXPECT_EQ(h.process.quitted, 1);
}

}  // namespace
}  // namespace glimpa

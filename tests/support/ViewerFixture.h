#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Main.h"
#include "lineup_selector/frmLineupSelector.h"
#include "pictures/Files.h"
#include "support/Harness.h"
#include "viewer/frmImageViewer.h"

namespace glimpa::test {

/// A started program with a folder for its pictures, on a harness that makes
/// them (as the harness's decoder knows pictures).
template <typename ProgramHarness>
class ViewerFixtureOn : public testing::Test {
protected:
    void SetUp() override {
        Main(h.app);
        viewer = &h.app.frmImageViewer();
    }

    ListBox& lineup() { return h.app.frmLineupSelector().ListPictures; }

    /// A file in the folder that the decoder knows as a picture of this size.
    std::string jpeg(const std::string& name, int width, int height) {
        h.makePicture(folder.file(name), width, height);
        return folder.file(name);
    }
    /// A lineup of n small pictures, "0.jpg" first.
    void fillLineup(int n) {
        for (int i = n - 1; i >= 0; --i) {
            lineup().addItem(jpeg(std::to_string(i) + ".jpg", 8, 6), 0);
        }
    }
    void show(const std::string& path) {
        h.app.CurrentFile = path;
        viewer->LoadPic();
    }
    /// Takes the window out of maximized and gives it this outer size.
    void sizeWindow(Twips width, Twips height) {
        viewer->form().setWindowState(WindowState::Normal);
        viewer->form().setWidth(width);
        viewer->form().setHeight(height);
    }
    bool toolEnabled(const std::string& key) { return viewer->Toolbar1.button(key)->enabled; }
    /// The main window's counter as the user reads it: "3 of 10".
    std::string counter() {
        return viewer->lblActiveImage.caption() + " of " + viewer->lblImageCount.caption();
    }
    /// The lineup's entries, whole paths or only their file names.
    std::vector<std::string> entries(bool namesOnly = false) {
        std::vector<std::string> all;
        for (int i = 0; i < lineup().listCount(); ++i) {
            const std::string& path = *lineup().list(i);
            all.push_back(namesOnly ? std::filesystem::path(path).filename().string() : path);
        }
        return all;
    }
    std::vector<std::string> names() { return entries(true); }

    ProgramHarness h;
    TempFolder folder;
    frmImageViewer* viewer = nullptr;
};

using ViewerFixture = ViewerFixtureOn<Harness>;

}  // namespace glimpa::test

#include "app/Opening.h"

#include <filesystem>

#include "app/AppContext.h"
#include "app/LineupMessages.h"
#include "lineup_selector/frmLineupSelector.h"
#include "platform/files/FileNames.h"
#include "platform/files/Folders.h"
#include "platform/services/MessageBoxes.h"
#include "viewer/frmImageViewer.h"

namespace fs = std::filesystem;

namespace glimpa {

namespace {

/// The pictures a path names, as full paths: the file itself, or a folder's
/// pictures in the file list's order; nothing for anything else.
std::vector<std::string> picturesOf(AppContext& app, const std::string& path) {
    if (const auto folder = existingFolder(path)) {
        std::vector<std::string> names = filesMatching(*folder, kPicturePattern);
        app.services().environment.nameSorter()(names);
        const std::string prefix = *folder == "/" ? *folder : *folder + "/";
        for (std::string& name : names) {
            name = prefix + name;
        }
        return names;
    }
    // A file named is taken by its content, as the file manager that offers
    // it does: a photo named "beach.jpeg" is a JPEG too.
    std::error_code error;
    const fs::path file = fs::absolute(fs::path(path), error).lexically_normal();
    if (error || !fs::is_regular_file(file, error) ||
        !app.services().decoder.isPicture(file.string())) {
        return {};
    }
    return {file.string()};
}

}  // namespace

void OpenPictures(AppContext& app, const std::vector<std::string>& paths) {
    ListBox& lineup = app.frmLineupSelector().ListPictures;
    int notPictures = 0;
    int notAdded = 0;
    int next = 0;  // where the next new entry goes
    std::string first;
    for (const std::string& path : paths) {
        const std::vector<std::string> pictures = picturesOf(app, path);
        if (pictures.empty()) {
            ++notPictures;
        }
        for (const std::string& picture : pictures) {
            if (first.empty()) {
                first = picture;
            }
            if (lineup.contains(picture)) {
                continue;
            }
            if (lineup.addItem(picture, next)) {
                ++next;
            } else {
                ++notAdded;
            }
        }
    }
    if (const int index = lineup.indexOf(first); index >= 0) {
        lineup.setListIndex(index);
        app.frmImageViewer().GetPic();
    }
    if (notPictures > 0) {
        app.services().messages.beep();
        app.MsgBox(counted(notPictures, notPictures == 1
                                            ? "  File was not opened: it is no BMP, JPEG or GIF "
                                              "picture."
                                            : "  Files were not opened: they are no BMP, JPEG or "
                                              "GIF pictures."),
                   msgbox::Notice);
    }
    if (notAdded > 0) {
        reportLineupFull(app, notAdded);
    }
    app.frmImageViewer().UpdateUI();
}

}  // namespace glimpa

#include "app/Opening.h"

#include <array>
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

/// Why a path named gave no picture, in the order the message tells them.
enum Skipped { kNotFound, kNoPicture, kNoPictureInFolder, kSkippedKinds };

/// The pictures a path names, as full paths: the file itself, or a folder's
/// pictures in the file list's order; nothing, and why, for anything else.
std::vector<std::string> picturesOf(AppContext& app, const std::string& path, Skipped& why) {
    if (const auto folder = existingFolder(path)) {
        std::vector<std::string> names = filesMatching(*folder, kPicturePattern);
        app.services().environment.nameSorter()(names);
        const std::string prefix = *folder == "/" ? *folder : *folder + "/";
        for (std::string& name : names) {
            name = prefix + name;
        }
        why = kNoPictureInFolder;
        return names;
    }
    // A file named is taken by its content, as the file manager that offers
    // it does: a photo named "beach.jpeg" is a JPEG too.
    std::error_code error;
    const fs::path file = fs::absolute(fs::path(path), error).lexically_normal();
    why = path.empty() || error || !fs::exists(file, error) ? kNotFound : kNoPicture;
    if (error || !fs::is_regular_file(file, error) ||
        !app.services().decoder.isPicture(file.string())) {
        return {};
    }
    return {file.string()};
}

/// One line a kind of path that gave no picture, as "(2)  Files were not
/// found.", in one text.
std::string skippedText(const std::array<int, kSkippedKinds>& skipped) {
    static constexpr std::array<std::pair<const char*, const char*>, kSkippedKinds> kLines{{
        {"  File or folder was not found.", "  Files or folders were not found."},
        {"  File was not opened: it is no BMP, JPEG or GIF picture.",
         "  Files were not opened: they are no BMP, JPEG or GIF pictures."},
        {"  Folder holds no BMP, JPEG or GIF pictures.",
         "  Folders hold no BMP, JPEG or GIF pictures."},
    }};
    std::string text;
    for (int kind = 0; kind < kSkippedKinds; ++kind) {
        if (const int count = skipped[kind]; count > 0) {
            text += text.empty() ? "" : "\n";
            text += counted(count, count == 1 ? kLines[kind].first : kLines[kind].second);
        }
    }
    return text;
}

}  // namespace

void OpenPictures(AppContext& app, const std::vector<std::string>& paths) {
    ListBox& lineup = app.frmLineupSelector().ListPictures;
    std::array<int, kSkippedKinds> skipped{};
    int notAdded = 0;
    int next = 0;  // where the next new entry goes
    std::string first;
    for (const std::string& path : paths) {
        Skipped why = kNoPicture;
        const std::vector<std::string> pictures = picturesOf(app, path, why);
        if (pictures.empty()) {
            ++skipped[why];
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
    if (const std::string text = skippedText(skipped); !text.empty()) {
        app.services().messages.beep();
        app.MsgBox(text, msgbox::Notice);
    }
    if (notAdded > 0) {
        reportLineupFull(app, notAdded);
    }
    app.frmImageViewer().UpdateUI();
}

}  // namespace glimpa

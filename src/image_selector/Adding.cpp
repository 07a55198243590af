// Previewing a listed file and adding files to the lineup.
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/LineupMessages.h"
#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "platform/services/ImageDecoder.h"
#include "platform/services/MessageBoxes.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

namespace {

const std::string kReplaceOrAppend =
    "Do you want to DELETE the existing Image Lineup?\r\r"
    "Select 'Yes' to DELETE the existing Lineup.\r"
    "Select 'No' to APPEND to the existing Lineup.\r"
    "Select Cancel to Cancel this operation.";

}  // namespace

void frmImageSelector::File1_Click() {
    frmImageViewer& viewer = m_app.frmImageViewer();
    const std::string name = File1.fileName();
    if (!name.empty()) {
        const int row = File1.listIndex();
        m_travel.reach(row);
        m_app.CurrentFile = pathOf(name);
        showStatus("Loading Image for Preview");
        viewer.LoadPic();  // which has the neighbours prepared meanwhile
        hideStatus();
        File1.setFocus();
        viewer.lblActiveImage.setCaption("");
        viewer.lblImageCount.setCaption("");
        SelectedCount = File1.selectedCount();
        m_form.setCaption(caption(SelectedCount));
    }
    UpdateUI();
}

std::vector<std::string> frmImageSelector::previewNeighbours(const std::string& path) {
    std::vector<std::string> neighbours;
    const std::string* previewed = File1.list(m_travel.row());
    if (previewed == nullptr || pathOf(*previewed) != path) {
        return neighbours;
    }
    for (const int row : m_travel.ahead(File1.listCount(), false, ImageDecoder::kLikelyNext)) {
        if (const std::string* file = File1.list(row)) {
            neighbours.push_back(pathOf(*file));
        }
    }
    return neighbours;
}

void frmImageSelector::cmdAdd_Click() {
    if (SelectedCount == 1) {
        AddImage();
    } else if (SelectedCount > 1) {
        AddMultiple(1);
    }
    m_app.frmImageViewer().UpdateUI();
}

void frmImageSelector::cmdAddAll_Click() {
    AddMultiple(2);
}

void frmImageSelector::AddImage() {
    const std::string name = File1.fileName();
    if (name.empty()) {
        return;
    }
    const std::string path = pathOf(name);
    ListBox& lineup = m_app.frmLineupSelector().ListPictures;
    Services& services = m_app.services();
    if (lineup.contains(path)) {
        services.messages.beep();
        m_app.MsgBox("That Image is already in the Lineup", msgbox::Warning);
        return;
    }
    if (!lineup.addItem(path, 0)) {
        reportLineupFull(m_app, 1);
        return;
    }
    lineup.setText(m_app.CurrentFile);
    showStatus("Adding Image to Lineup");
    services.pointer.setBusy(true);
    Timer1.setInterval(250);
    Timer1.setEnabled(true);
    m_app.frmImageViewer().UpdateUI();
    UpdateUI();
}

void frmImageSelector::Timer1_Timer() {
    hideStatus();
    Timer1.setInterval(0);
    Timer1.setEnabled(false);
    UpdateUI();
    m_app.services().pointer.setBusy(false);
}

void frmImageSelector::AddMultiple(std::int16_t MultipleType) {
    Services& services = m_app.services();
    MessageBoxes& messages = services.messages;
    ListBox& lineup = m_app.frmLineupSelector().ListPictures;

    int duplicates = 0;
    int notAdded = 0;
    bool replace = false;
    if (MultipleType == 2 && lineup.listCount() >= 1) {
        messages.beep();
        const int answer = m_app.MsgBox(kReplaceOrAppend, msgbox::Confirm);
        if (answer == msgbox::Yes) {
            messages.beep();
            if (m_app.MsgBox("Are you sure that you want to DELETE the existing Image Lineup?",
                             msgbox::Confirm) != msgbox::Yes) {
                return;
            }
            replace = true;
        } else if (answer != msgbox::No) {
            return;
        }
    }

    ProgressBar1.setMax(static_cast<float>(File1.listCount() - 1));
    if (replace) {
        lineup.clear();
    }
    services.pointer.setBusy(true);
    const int number = MultipleType == 1 ? SelectedCount : File1.listCount();
    showStatus("Adding (" + std::to_string(number) + ") Images to Lineup");

    const int files = File1.listCount();
    for (int i = 0; i < files; ++i) {
        const bool wanted = MultipleType == 2 || File1.selected(i);
        if (wanted) {
            const std::string path = pathOf(*File1.list(i));
            if (lineup.contains(path)) {
                ++duplicates;
            } else if (!lineup.addItem(path, 0)) {
                ++notAdded;
            }
        }
        ProgressBar1.setValue(static_cast<float>(i));
    }

    lineup.refresh();
    services.pointer.setBusy(false);
    if (duplicates >= 2) {
        messages.beep();
        m_app.MsgBox(counted(duplicates, "  Duplicate images were skipped."), msgbox::Notice);
    } else if (duplicates == 1) {
        m_app.MsgBox("(1)  Duplicate image was skipped.", msgbox::Notice);
    }
    if (notAdded > 0) {
        reportLineupFull(m_app, notAdded);
    }

    lineup.setListIndex(0);
    m_app.CurrentFile = lineup.text();
    frmImageViewer& viewer = m_app.frmImageViewer();
    viewer.LoadPic();
    ProgressBar1.setValue(0);
    hideStatus();
    File1.refresh();
    services.pointer.setBusy(false);
    viewer.UpdateUI();
    UpdateUI();
}

}  // namespace glimpa

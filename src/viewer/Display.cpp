// Loading, fitting, scrolling and clearing the picture in the main window.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/AppContext.h"
#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "platform/Numbers.h"
#include "platform/services/ImageDecoder.h"
#include "platform/services/MessageBoxes.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

namespace {

/// Divides, failing where the division would give no finite number.
std::optional<float> divide(float numerator, float denominator) {
    if (denominator == 0.0f) {
        return std::nullopt;
    }
    const float quotient = numerator / denominator;
    return std::isfinite(quotient) ? std::optional<float>(quotient) : std::nullopt;
}

}  // namespace

ListBox& frmImageViewer::lineup() {
    return m_app.frmLineupSelector().ListPictures;
}

void frmImageViewer::LoadPic() {
    Services& services = m_app.services();
    Image1.setVisible(false);
    services.pointer.setBusy(true);
    Image1.setStretch(false);
    if (m_app.CurrentFile.empty()) {
        Image1.setPicture(nullptr);
        Image1.setWidth(0);
        Image1.setHeight(0);
    } else {
        DecodeResult decoded = services.decoder.decode(m_app.CurrentFile, displayHint());
        if (!decoded) {
            services.pointer.setBusy(false);
            ImageClear();
            services.messages.beep();
            m_app.MsgBox("An error has occurred loading this Image.  It may be corrupted.",
                         msgbox::Warning);
            return;
        }
        Image1.setPicture(std::move(decoded.picture));
    }
    ImageWidth = Image1.width();
    ImageHeight = toWhole32(Image1.height()).value_or(ImageHeight);
    UpdateUI();
    services.pointer.setBusy(false);
    prefetchNeighbours();
}

DisplayHint frmImageViewer::displayHint() {
    // A picture is fitted while the horizontal scroll bar still takes its
    // row (the refresh fits before it lays the frame out again), and a fitted
    // picture needs no vertical scroll bar.
    if (Check1.value() != CheckBox::Checked && ZoomFactor == 1) {
        return {};
    }
    return {static_cast<int>(m_form.clientWidth() / kTwipsPerPixel),
            static_cast<int>(frameHeight(true) / kTwipsPerPixel)};
}

void frmImageViewer::prefetchNeighbours() {
    ListBox& list = lineup();
    const int active = list.listIndex();
    const bool inLineup = active >= 0 && list.text() == m_app.CurrentFile;
    std::vector<std::string> neighbours;
    if (inLineup) {
        // Forward past the last entry comes back to the first, as the
        // slideshow goes.
        m_travel.reach(active);
        for (const int row : m_travel.ahead(list.listCount(), true, ImageDecoder::kLikelyNext)) {
            if (const std::string* path = list.list(row);
                path != nullptr && *path != m_app.CurrentFile) {
                neighbours.push_back(*path);
            }
        }
    } else if (!m_app.CurrentFile.empty()) {
        // A file previewed from the Image Selector's list has that list's
        // neighbours.
        neighbours = m_app.frmImageSelector().previewNeighbours(m_app.CurrentFile);
    }
    m_app.services().decoder.prefetch(neighbours, displayHint());
}

void frmImageViewer::GetPic() {
    ListBox& list = lineup();
    if (list.listIndex() == -1) {
        return;
    }
    m_app.CurrentFile = list.text();
    ActiveIndex = static_cast<std::int16_t>(list.listIndex());
    list.setSelected(ActiveIndex, true);
    if (!m_app.CurrentFile.empty()) {
        LoadPic();
    }
}

void frmImageViewer::ZoomDown() {
    // Each step that would divide by zero is skipped, as the variables keep
    // what they held.
    float aspectRatio = 0;
    float widthRatio = 0;
    float heightRatio = 0;
    if (auto ratio = divide(ImageWidth, static_cast<float>(ImageHeight))) {
        aspectRatio = *ratio;
    }
    if (auto ratio = divide(Image1.width(), picBackground.width())) {
        widthRatio = *ratio;
    }
    if (auto ratio = divide(Image1.height(), picBackground.height())) {
        heightRatio = *ratio;
    }
    // The fitted side takes the frame's length exactly and the other side is
    // held to the frame: single-precision rounding of scale × length may
    // otherwise leave the picture a thousandth of a twip larger than the
    // frame, and a scroll bar on a fitted picture.
    Image1.setStretch(true);
    if (heightRatio < widthRatio) {
        if (divide(picBackground.width(), Image1.width())) {
            Image1.setWidth(picBackground.width());
        }
        if (auto height = divide(Image1.width(), aspectRatio)) {
            Image1.setHeight(std::min(*height, picBackground.height()));
        }
    } else {
        if (divide(picBackground.height(), Image1.height())) {
            Image1.setHeight(picBackground.height());
        }
        Image1.setWidth(std::min(Image1.height() * aspectRatio, picBackground.width()));
    }
    if (auto zoom = divide(Image1.width(), ImageWidth)) {
        ZoomFactor = *zoom;
    }
}

void frmImageViewer::ImageClear() {
    Image1.setPicture(nullptr);
    Image1.setHeight(0);
    Image1.setWidth(0);
    m_app.CurrentFile.clear();
}

bool frmImageViewer::reloadOutgrownPicture() {
    const Picture& picture = Image1.picture();
    if (m_app.CurrentFile.empty() || picture == nullptr || !picture->outgrownByItsFile()) {
        return false;
    }
    LoadPic();
    return true;
}

void frmImageViewer::Check1_Click() {
    Image1.setVisible(false);
    if (Check1.value() == CheckBox::Unchecked) {
        ZoomFactor = 1;
    }
    picBackground.setFocus();
    if (reloadOutgrownPicture()) {
        return;
    }
    UpdateUI();
    prefetchNeighbours();  // for the new way of showing them
}

void frmImageViewer::HScroll1_Change() {
    Image1.setLeft(-static_cast<Twips>(HScroll1.value()));
}
void frmImageViewer::HScroll1_Scroll() {
    Image1.setLeft(-static_cast<Twips>(HScroll1.value()));
}
void frmImageViewer::VScroll1_Change() {
    Image1.setTop(-static_cast<Twips>(VScroll1.value()));
}
void frmImageViewer::VScroll1_Scroll() {
    Image1.setTop(-static_cast<Twips>(VScroll1.value()));
}

}  // namespace glimpa

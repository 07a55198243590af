// Paging through the lineup by its buttons and the frame's keys, and the main
// window's "Quick Off" key.
#include <algorithm>
#include <cstdint>

#include "app/AppContext.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

void frmImageViewer::showLineupEntry(int index) {
    ListBox& list = lineup();
    list.setListIndex(index);  // an index outside the lineup leaves the entry as it was
    m_app.CurrentFile = list.text();
    LoadPic();
    picBackground.setFocus();
}

void frmImageViewer::cmdFirst_Click() {
    showLineupEntry(0);
}
void frmImageViewer::cmdPrevious_Click() {
    showLineupEntry(lineup().listIndex() - 1);
}
void frmImageViewer::cmdNext_Click() {
    showLineupEntry(lineup().listIndex() + 1);
}
void frmImageViewer::cmdLast_Click() {
    showLineupEntry(lineup().listCount() - 1);
}

namespace {

/// Moves a scroll bar by its large step, no further than its ends.
void scrollBy(ScrollBar& bar, int direction) {
    const std::int64_t wanted =
        std::int64_t{bar.value()} + std::int64_t{direction} * bar.largeChange();
    bar.setValue(static_cast<std::int32_t>(std::clamp<std::int64_t>(
        wanted, std::min(bar.min(), bar.max()), std::max(bar.min(), bar.max()))));
}

}  // namespace

// The keys of a picture viewer on the frame: Page Down and Page Up page
// through the lineup, Home and End go to its ends, each as its button does
// and only while that button is available; the arrows scroll a picture
// larger than the frame, and Left and Right page when it is not wider.
void frmImageViewer::picBackground_KeyDown(int keyCode, int /*shift*/) {
    const bool across = HScroll1.visible();
    const bool down = picVscroll.visible();
    switch (keyCode) {
        case kKeyPageDown:
            cmdNext.click();
            break;
        case kKeyPageUp:
            cmdPrevious.click();
            break;
        case kKeyHome:
            cmdFirst.click();
            break;
        case kKeyEnd:
            cmdLast.click();
            break;
        case kKeyRight:
        case kKeyLeft:
            if (across) {
                scrollBy(HScroll1, keyCode == kKeyRight ? 1 : -1);
            } else {
                (keyCode == kKeyRight ? cmdNext : cmdPrevious).click();
            }
            break;
        case kKeyDown:
        case kKeyUp:
            if (down) {
                scrollBy(VScroll1, keyCode == kKeyDown ? 1 : -1);
            }
            break;
        default:
            break;
    }
}

void frmImageViewer::Form_KeyPress(int& /*keyAscii*/) {
    QuickOff();
}

void frmImageViewer::QuickOff() {
    if (chkQuickOff.value() == CheckBox::Checked) {
        m_app.End();
    }
}

}  // namespace glimpa

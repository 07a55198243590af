// Paging through the lineup, and the main window's "Quick Off" key.
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

void frmImageViewer::Form_KeyPress(int& /*keyAscii*/) {
    QuickOff();
}

void frmImageViewer::QuickOff() {
    if (chkQuickOff.value() == CheckBox::Checked) {
        m_app.End();
    }
}

}  // namespace glimpa

// The toolbar's commands.
#include "app/AppContext.h"
#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "platform/services/MessageBoxes.h"
#include "viewer/ToolKey.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

void frmImageViewer::Toolbar1_ButtonClick(const ToolbarButton& Button) {
    ListBox& list = lineup();
    const int remembered = list.listIndex();
    m_app.Unload(WindowId::ImageSelector);

    if (const auto key = toolKeyFrom(Button.key)) {
        switch (*key) {
            case ToolKey::Select:
                m_app.frmImageSelector().form().show();
                break;
            case ToolKey::Clear:
                ImageClear();
                break;
            case ToolKey::Trash:
                if (m_app.MsgBox("Do you want to Remove this Image from the Image Lineup?",
                                 msgbox::Confirm) != msgbox::Yes) {
                    return;
                }
                removeImageOnDisplay(remembered);
                list.setListIndex(-1);
                ImageClear();
                break;
            case ToolKey::TrashAll:
                if (m_app.MsgBox("Do you want to Empty the Image Lineup?", msgbox::Confirm) !=
                    msgbox::Yes) {
                    return;
                }
                list.clear();
                ImageClear();
                break;
            case ToolKey::StartStop:
                Timer1.setEnabled(!Timer1.enabled());
                if (Timer1.enabled()) {
                    restartCountdown();
                } else {
                    ProgressBar1.setValue(0);
                }
                break;
            case ToolKey::Show: {
                Timer1.setEnabled(false);
                list.setListIndex(0);
                list.setListIndex(ActiveIndex);
                frmLineupSelector& selector = m_app.frmLineupSelector();
                selector.form().show();
                selector.ListPictures.setFocus();
                break;
            }
        }
    }
    UpdateUI();
}

void frmImageViewer::removeImageOnDisplay(int rememberedIndex) {
    // The picture on screen is the one the user agreed to remove; the active
    // entry may have moved away from it (the Image Selector's hide moves it to
    // the first entry, a preview shows a file that is not in the lineup).
    ListBox& list = lineup();
    const std::string& shown = m_app.CurrentFile;
    if (shown.empty()) {
        list.removeItem(rememberedIndex);
    } else if (const int index = list.indexOf(shown); index >= 0) {
        list.removeItem(index);
    }
}

}  // namespace glimpa

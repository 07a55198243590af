#pragma once

#include "app/Window.h"
#include "platform/controls/ListBox.h"

namespace glimpa {

/// The side window that holds and lists the Image Lineup. It is never unloaded
/// while the program runs: closing it only hides it, so the lineup survives.
class frmLineupSelector : public Window {
public:
    explicit frmLineupSelector(AppContext& app);

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Resize();
    void Form_KeyPress(int& keyAscii);
    void ListPictures_MouseUp(int button, int shift, Twips x, Twips y);
    void ListPictures_KeyUp(int keyCode, int shift);

    /// The Image Lineup: one full image path per row, newest first; the
    /// selected row is the active image.
    ListBox ListPictures{"ListPictures", &m_form};
};

}  // namespace glimpa

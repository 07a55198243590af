#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Travel.h"
#include "app/Window.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/Frame.h"
#include "platform/controls/Image.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/Slider.h"
#include "platform/controls/Timer.h"
#include "platform/controls/Toolbar.h"
#include "platform/services/ImageDecoder.h"

namespace glimpa {

/// The main window: the picture frame, the toolbar with its commands, the
/// slideshow controls, the two switches, the counter and the paging buttons.
class frmImageViewer : public Window {
public:
    explicit frmImageViewer(AppContext& app);

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Activate();
    void Form_Resize();
    void Form_KeyPress(int& keyAscii);

    // The display, used by all three windows.
    void LoadPic();
    void GetPic();
    void ZoomDown();
    void ImageClear();
    void UpdateUI();

    void Check1_Click();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void VScroll1_Change();
    void VScroll1_Scroll();

    void Toolbar1_ButtonClick(const ToolbarButton& Button);

    // The slideshow.
    void Timer1_Timer();
    void Timer2_Timer();
    void Slider1_MouseDown();
    void Slider1_Change();
    void chkQuickOff_Click();
    /// A character key in any window: ends the program at once when "Quick
    /// Off" is ticked.
    void QuickOff();

    // Paging through the lineup.
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    void picBackground_KeyDown(int keyCode, int shift);

    // Controls, containers before what they contain.
    Toolbar Toolbar1{"Toolbar1", &m_form};
    ProgressBar ProgressBar1{"ProgressBar1", &Toolbar1};
    Frame Frame1{"Frame1", &Toolbar1};
    Slider Slider1{"Slider1", &Frame1};
    PictureBox Picture1{"Picture1", &Toolbar1};
    CheckBox Check1{"Check1", &Picture1};
    CheckBox chkQuickOff{"chkQuickOff", &Picture1};
    Label lblActiveImage{"lblActiveImage", &Picture1};
    Label Label2{"Label2", &Picture1};
    Label lblImageCount{"lblImageCount", &Picture1};
    CommandButton cmdPrevious{"cmdPrevious", &Toolbar1};
    CommandButton cmdFirst{"cmdFirst", &Toolbar1};
    CommandButton cmdNext{"cmdNext", &Toolbar1};
    CommandButton cmdLast{"cmdLast", &Toolbar1};
    HScrollBar HScroll1{"HScroll1", &m_form};
    PictureBox picVscroll{"picVscroll", &m_form};
    VScrollBar VScroll1{"VScroll1", &picVscroll};
    PictureBox picBackground{"picBackground", &m_form};
    Image Image1{"Image1", &picBackground};
    Image Image2{"Image2", &picBackground};
    Label lblCopyRight{"lblCopyRight", &picBackground};
    Label lblHelp{"lblHelp", &picBackground};
    Label lblVersion{"lblVersion", &picBackground};
    Timer Timer1;
    Timer Timer2;

    // Natural size of the loaded picture, the zoom, and the lineup row that
    // GetPic last showed.
    float ImageWidth = 0;
    std::int32_t ImageHeight = 0;
    float ZoomFactor = 1;
    std::int16_t ActiveIndex = 0;

private:
    void design();
    void wire();
    ListBox& lineup();
    void showLineupEntry(int index);
    void applyZoomRule();
    void layoutFrame();
    /// The picture frame's height below the toolbar, and below the horizontal
    /// scroll bar when it takes its row.
    Twips frameHeight(bool belowScrollBar);
    void setScrollSteps(ScrollBar& bar, Twips pictureLength);
    void removeImageOnDisplay(int rememberedIndex);
    DisplayHint displayHint();
    /// Has the pictures ahead of the one shown prepared for this window's
    /// display: in the lineup, or in the Image Selector's list it came from.
    void prefetchNeighbours();
    /// A picture held smaller than it may now be shown grows from its file;
    /// when that file changed, went or proved damaged since, the picture is
    /// loaded again (and a failure told as any load's) instead of enlarged.
    /// Whether it was.
    bool reloadOutgrownPicture();
    void restartCountdown();

    Travel m_travel;  // in the lineup
};

}  // namespace glimpa

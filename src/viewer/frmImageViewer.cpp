#include "viewer/frmImageViewer.h"

#include "app/AppContext.h"
#include "app/Opening.h"
#include "platform/services/Services.h"
#include "viewer/ToolKey.h"

namespace glimpa {

namespace {
constexpr std::int32_t kFrameGrey = 0x808080;
constexpr Twips kPageButtonWidth = 285;
constexpr Twips kPageButtonHeight = 270;
}  // namespace

frmImageViewer::frmImageViewer(AppContext& app)
    : Window(app, "frmImageViewer"),
      Timer1("Timer1", app.services().timers),
      Timer2("Timer2", app.services().timers) {
    design();
    wire();
}

void frmImageViewer::design() {
    m_form.setKeyPreview(true);
    m_form.setAcceptsFiles(true);
    m_form.setCaption(m_app.title());
    m_form.setHelpTopic("main");

    Toolbar1.setAlign(Align::Top);
    Toolbar1.setHeight(600);
    Toolbar1.setImageList(kToolPictureArtwork);
    struct Button {
        ToolKey key;
        const char* toolTip;
        ToolPicture picture;
    };
    for (const auto& [key, toolTip, picture] :
         {Button{ToolKey::Select, "Select File(s) for Lineup", ToolPicture::Select},
          Button{ToolKey::Clear, "Clear the Frame", ToolPicture::Clear},
          Button{ToolKey::Trash, "Remove the Current Image from the Lineup", ToolPicture::Trash},
          Button{ToolKey::TrashAll, "Empty the Lineup - Remove all Images", ToolPicture::TrashAll},
          Button{ToolKey::Show, "Select a Lineup Image to View", ToolPicture::Show},
          Button{ToolKey::StartStop, "Start the Slide Show", ToolPicture::Start}}) {
        Toolbar1.addButton({keyText(key), toolTip, pictureNumber(picture)});
    }

    Frame1.move(3600, 0, 1605, 615);
    Slider1.move(30, 180, 1515, 375);
    Slider1.setRange(0, 10);
    Slider1.setToolTip("Select Slideshow Advance Interval");
    ProgressBar1.move(5250, 15, 195, 570);
    ProgressBar1.setMin(0);
    ProgressBar1.setMax(100);

    const Twips pagingLeft = 5550;
    cmdPrevious.move(pagingLeft, 30, kPageButtonWidth, kPageButtonHeight);
    cmdFirst.move(pagingLeft + kPageButtonWidth, 30, kPageButtonWidth, kPageButtonHeight);
    cmdNext.move(pagingLeft, 30 + kPageButtonHeight, kPageButtonWidth, kPageButtonHeight);
    cmdLast.move(pagingLeft + kPageButtonWidth, 30 + kPageButtonHeight, kPageButtonWidth,
                 kPageButtonHeight);
    struct Paging {
        CommandButton& button;
        const char* toolTip;
        const char* artwork;
    };
    for (auto [button, toolTip, artwork] :
         {Paging{cmdPrevious, "Previous Image", "previous"},
          Paging{cmdFirst, "First Image", "first"}, Paging{cmdNext, "Next Image", "next"},
          Paging{cmdLast, "Last Image", "last"}}) {
        button.setToolTip(toolTip);
        button.setArtwork(artwork);
        button.setEnabled(false);
    }

    Picture1.move(6180, 0, 2900, 600);
    Check1.move(60, 30, 1300, 255);
    Check1.setCaption("Size to Fit");
    Check1.setToolTip("Zoom Image Down to Fit Frame");
    chkQuickOff.move(60, 315, 1300, 255);
    chkQuickOff.setCaption("Quick Off");
    // Each number has room for the fullest lineup's five digits, and the
    // count starts as far left as that allows, for the narrowest window.
    lblActiveImage.move(1360, 180, 600, 255);
    lblActiveImage.setAlignment(TextAlign::Right);
    Label2.move(1960, 180, 300, 255);
    Label2.setCaption("of");
    Label2.setAlignment(TextAlign::Center);
    lblImageCount.move(2260, 180, 620, 255);

    HScroll1.move(0, 600, 12000, 255);
    picVscroll.setAlign(Align::Right);
    picVscroll.setWidth(200);
    VScroll1.move(0, 0, 200, 7000);

    picBackground.move(0, 855, 12000, 7000);
    picBackground.setBackColor(kFrameGrey);
    Image2.setPicture(m_app.services().environment.artwork("logo"));
    for (Label* label : {&lblCopyRight, &lblHelp, &lblVersion}) {
        label->setWidth(6000);
        label->setHeight(255);
        label->setAlignment(TextAlign::Center);
    }
    lblHelp.setCaption("Press F1 for Help");

    Toolbar1.setAccessible("Commands");
    Frame1.setAccessible("Slideshow interval");
    Slider1.setAccessible("Select Slideshow Advance Interval",
                          "Seconds between pictures in the slideshow; 0 stops it");
    ProgressBar1.setAccessible("Slideshow countdown", "Time left until the next picture");
    Picture1.setAccessible("Switches and counter");
    Picture1.setTabStop(false);
    // The counter reads out its number, described by what it counts.
    lblActiveImage.setAccessible({}, "Number of the picture on display");
    lblImageCount.setAccessible({}, "Number of pictures in the lineup");
    HScroll1.setAccessible("Horizontal position in the picture");
    picVscroll.setAccessible("Vertical scrolling");
    picVscroll.setTabStop(false);
    VScroll1.setAccessible("Vertical position in the picture");
    picBackground.setAccessible("Picture frame");
    Image1.setAccessible("Picture on display");
    Image2.setAccessible(m_app.title() + " logo");

    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    Timer2.setInterval(100);

    // Last, so that the aligned toolbar and scroll panel take their places.
    m_form.setClientSize(12000, 8400);
}

void frmImageViewer::wire() {
    m_form.Activate.connect([this] { Form_Activate(); });
    m_form.Resize.connect([this] { Form_Resize(); });
    m_form.KeyPress.connect([this](int& keyAscii) { Form_KeyPress(keyAscii); });
    m_form.FilesDropped.connect(
        [this](const std::vector<std::string>& paths) { OpenPictures(m_app, paths); });
    Check1.Click.connect([this] { Check1_Click(); });
    Image1.Outgrown.connect([this] { reloadOutgrownPicture(); });
    HScroll1.Change.connect([this] { HScroll1_Change(); });
    HScroll1.Scroll.connect([this] { HScroll1_Scroll(); });
    VScroll1.Change.connect([this] { VScroll1_Change(); });
    VScroll1.Scroll.connect([this] { VScroll1_Scroll(); });
    cmdFirst.Click.connect([this] { cmdFirst_Click(); });
    cmdPrevious.Click.connect([this] { cmdPrevious_Click(); });
    cmdNext.Click.connect([this] { cmdNext_Click(); });
    cmdLast.Click.connect([this] { cmdLast_Click(); });
    picBackground.KeyDown.connect(
        [this](int keyCode, int shift) { picBackground_KeyDown(keyCode, shift); });
    Toolbar1.ButtonClick.connect(
        [this](const ToolbarButton& button) { Toolbar1_ButtonClick(button); });
    Timer1.Tick.connect([this] { Timer1_Timer(); });
    Timer2.Tick.connect([this] { Timer2_Timer(); });
    Slider1.MouseDown.connect([this] { Slider1_MouseDown(); });
    Slider1.Change.connect([this] { Slider1_Change(); });
    chkQuickOff.Click.connect([this] { chkQuickOff_Click(); });
}

void frmImageViewer::Form_Load() {
    lblVersion.setCaption(std::string("Release:  ") + kProgramVersion);
    lblCopyRight.setCaption("\u00a9 2026 The GLIMPA developers");
    m_form.setWindowState(WindowState::Maximized);
    m_form.show();
    ImageClear();
    ZoomFactor = 1;
    Timer1.setEnabled(false);
}

void frmImageViewer::Form_Activate() {
    picBackground.setFocus();
}

void frmImageViewer::Form_Resize() {
    if (m_form.windowState() == WindowState::Minimized) {
        return;
    }
    Image1.setStretch(false);
    Image2.setVisible(false);
    if (!reloadOutgrownPicture()) {
        UpdateUI();
    }
}

void frmImageViewer::Form_Unload(int& /*cancel*/) {
    m_app.AppClosing = true;
    m_app.Unload(WindowId::ImageSelector);
    m_app.Unload(WindowId::LineupSelector);
    // The window's timers go with it: no slideshow step may run between the
    // close and the end of the program.
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
}

}  // namespace glimpa

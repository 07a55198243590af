// The refresh: brings every control of the main window into line with the
// lineup, the picture, the zoom and the slideshow, from scratch each time.
#include "app/AppContext.h"
#include "platform/Numbers.h"
#include "viewer/ToolKey.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

namespace {

constexpr Twips kMinimumWidth = 8900;
constexpr Twips kMinimumHeight = 7000;

void enable(Toolbar& toolbar, std::initializer_list<ToolKey> keys, bool on) {
    for (ToolKey key : keys) {
        toolbar.setButtonEnabled(keyText(key), on);
    }
}

}  // namespace

Twips frmImageViewer::frameHeight(bool belowScrollBar) {
    const Twips below = m_form.clientHeight() - Toolbar1.height();
    return belowScrollBar ? below - HScroll1.height() : below;
}

void frmImageViewer::layoutFrame() {
    if (HScroll1.visible()) {
        picBackground.setTop(HScroll1.top() + HScroll1.height());
    } else {
        picBackground.setTop(HScroll1.top());
    }
    picBackground.setHeight(frameHeight(HScroll1.visible()));
}

void frmImageViewer::applyZoomRule() {
    if (Check1.value() == CheckBox::Checked || ZoomFactor != 1) {
        if (picBackground.height() <= static_cast<float>(ImageHeight) ||
            ImageWidth >= picBackground.width()) {
            ZoomDown();
        }
    } else {
        Image1.setStretch(false);
    }
}

void frmImageViewer::setScrollSteps(ScrollBar& bar, Twips pictureLength) {
    if (auto small = toWhole32(pictureLength / 200.0)) {
        bar.setSmallChange(*small);
    }
    if (auto large = toWhole32(pictureLength / 50.0)) {
        bar.setLargeChange(*large);
    }
}

void frmImageViewer::UpdateUI() {
    ListBox& list = lineup();
    const std::string& currentFile = m_app.CurrentFile;

    Image1.setVisible(false);

    if (m_form.width() < kMinimumWidth) {
        m_form.setWidth(kMinimumWidth);
    }
    if (m_form.height() < kMinimumHeight) {
        m_form.setHeight(kMinimumHeight);
    }

    HScroll1.setVisible(!currentFile.empty());
    VScroll1.setVisible(!currentFile.empty());

    // The frame takes the window's width now: fitting to the width it had
    // before the window was resized would leave a scroll bar on a fitted
    // picture.
    picBackground.setWidth(m_form.clientWidth() -
                           (picVscroll.visible() ? picVscroll.width() : Twips{0}));
    layoutFrame();
    applyZoomRule();

    const int count = list.listCount();
    if (count == 0) {
        enable(
            Toolbar1,
            {ToolKey::Trash, ToolKey::TrashAll, ToolKey::Clear, ToolKey::Show, ToolKey::StartStop},
            false);
        Slider1.setValue(0);
        Slider1.setEnabled(false);
        for (CommandButton* button : {&cmdFirst, &cmdLast, &cmdNext, &cmdPrevious}) {
            button->setEnabled(false);
        }
        m_app.Unload(WindowId::LineupSelector);
    } else {
        enable(Toolbar1, {ToolKey::Trash, ToolKey::TrashAll, ToolKey::Clear, ToolKey::Show}, true);
        cmdFirst.setEnabled(true);
        cmdLast.setEnabled(true);
        const int active = list.listIndex();
        cmdPrevious.setEnabled(active > 0);
        cmdNext.setEnabled(active < count - 1);
    }

    Slider1.setEnabled(count > 1);

    const int seconds = Slider1.value();
    if (seconds > 0) {
        enable(Toolbar1, {ToolKey::StartStop}, true);
    } else {
        enable(Toolbar1, {ToolKey::StartStop}, false);
        Timer1.setEnabled(false);
        Timer1.setInterval(0);
    }

    const std::string startStop = keyText(ToolKey::StartStop);
    if (Timer1.enabled()) {
        // Setting the interval starts the count again, and so the bar.
        Timer1.setInterval(seconds * 1000);
        restartCountdown();
        Toolbar1.setButtonImage(startStop, pictureNumber(ToolPicture::Stop));
        Toolbar1.setButtonToolTip(startStop, "Stop the Slideshow");
        enable(Toolbar1,
               {ToolKey::Select, ToolKey::Clear, ToolKey::Trash, ToolKey::TrashAll, ToolKey::Show},
               false);
        for (CommandButton* button : {&cmdFirst, &cmdLast, &cmdPrevious, &cmdNext}) {
            button->setEnabled(false);
        }
    } else {
        Timer1.setInterval(0);
        Toolbar1.setButtonImage(startStop, pictureNumber(ToolPicture::Start));
        Toolbar1.setButtonToolTip(startStop, "Start the Slideshow");
        enable(Toolbar1, {ToolKey::Select}, true);
    }

    if (ZoomFactor == 1) {
        Image1.setStretch(false);
    }

    const Twips clientWidth = m_form.clientWidth();
    if (Image1.height() <= picBackground.height()) {
        picVscroll.setVisible(false);
        picBackground.setWidth(clientWidth);
    } else {
        picVscroll.setVisible(true);
        picBackground.setWidth(clientWidth - picVscroll.width());
    }

    HScroll1.setVisible(Image1.width() > picBackground.width());

    applyZoomRule();
    layoutFrame();

    const bool running = Timer1.enabled();
    enable(Toolbar1, {ToolKey::Clear, ToolKey::Trash}, !currentFile.empty() && !running);
    enable(Toolbar1, {ToolKey::TrashAll}, count > 0 && !running);

    setScrollSteps(VScroll1, Image1.height());
    setScrollSteps(HScroll1, Image1.width());

    Image1.setLeft((picBackground.width() - Image1.width()) / 2);
    Image1.setTop((picBackground.height() - Image1.height()) / 2);

    HScroll1.setMin(0);
    if (auto max = toWhole32(Image1.width() - picBackground.width())) {
        HScroll1.setMax(*max);
    }
    VScroll1.setMin(0);
    if (auto max = toWhole32(Image1.height() - picBackground.height())) {
        VScroll1.setMax(*max);
    }

    HScroll1.setLeft(0);
    HScroll1.setWidth(clientWidth - picVscroll.width() - 30);
    VScroll1.setHeight(frameHeight(true) - 20);

    if (auto value = toWhole32(HScroll1.max() / 2.0)) {
        HScroll1.setValue(*value);
    }
    if (auto value = toWhole32(VScroll1.max() / 2.0)) {
        VScroll1.setValue(*value);
    }

    Image1.setVisible(true);

    const Twips areaWidth = picBackground.width() - picBackground.left();
    const Twips areaHeight = picBackground.height() - picBackground.top();
    Image2.setLeft((areaWidth - Image2.width()) / 2);
    Image2.setTop((areaHeight - Image2.height()) / 2 - 600);
    lblCopyRight.setTop(Image2.top() + Image2.height() + 200);
    lblCopyRight.setLeft((areaWidth - lblCopyRight.width()) / 2);
    lblHelp.setLeft(lblCopyRight.left());
    lblHelp.setTop(lblCopyRight.top() + lblCopyRight.height() + 200);
    lblVersion.setLeft(lblHelp.left());
    lblVersion.setTop(lblHelp.top() + lblHelp.height());

    const bool idle = currentFile.empty();
    m_form.setCaption(idle ? m_app.title() + " No Active Image"
                           : m_app.title() + " Viewing:  " + currentFile);
    for (Control* item :
         std::initializer_list<Control*>{&Image2, &lblCopyRight, &lblHelp, &lblVersion}) {
        item->setVisible(idle);
    }

    lblImageCount.setCaption(std::to_string(count));
    lblActiveImage.setCaption(idle ? "0" : std::to_string(list.listIndex() + 1));

    Image1.setVisible(true);
}

}  // namespace glimpa

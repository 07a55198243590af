#include "lineup_selector/frmLineupSelector.h"

#include "app/AppContext.h"
#include "app/Opening.h"
#include "app/ScreenPlacement.h"
#include "app/Settings.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

namespace {
constexpr Twips kMinimumSize = 3000;
}

frmLineupSelector::frmLineupSelector(AppContext& app) : Window(app, "frmLineupSelector") {
    m_form.setCaption(m_app.title() + "  Click to View an Image From the Current Lineup");
    m_form.setClientSize(6660, 3195);
    m_form.setKeyPreview(true);
    m_form.setAcceptsFiles(true);
    m_form.setHelpTopic("lineup");
    ListPictures.move(0, 0, 6660, 3195);
    ListPictures.setAccessible("Image Lineup", "Full paths of the pictures, newest first");

    m_form.Resize.connect([this] { Form_Resize(); });
    m_form.KeyPress.connect([this](int& keyAscii) { Form_KeyPress(keyAscii); });
    m_form.FilesDropped.connect(
        [this](const std::vector<std::string>& paths) { OpenPictures(m_app, paths); });
    ListPictures.MouseUp.connect([this](int button, int shift, Twips x, Twips y) {
        ListPictures_MouseUp(button, shift, x, y);
    });
    ListPictures.KeyUp.connect(
        [this](int keyCode, int shift) { ListPictures_KeyUp(keyCode, shift); });
}

void frmLineupSelector::Form_Load() {
    KeepOnTop(m_form, 1);
    const Settings settings(m_app);
    settings.restoreTwips(setting::kLineupSelectorLeft, 1000,
                          [this](Twips v) { m_form.setLeft(v); });
    settings.restoreTwips(setting::kLineupSelectorTop, 1000, [this](Twips v) { m_form.setTop(v); });
    settings.restoreTwips(setting::kLineupSelectorWidth, 3000,
                          [this](Twips v) { m_form.setWidth(v); });
    settings.restoreTwips(setting::kLineupSelectorHeight, 3000,
                          [this](Twips v) { m_form.setHeight(v); });
    keepTitleBarOnScreen(m_form, m_app.services().environment.screens());
}

void frmLineupSelector::Form_Resize() {
    if (m_form.width() < kMinimumSize) {
        m_form.setWidth(kMinimumSize);
    }
    if (m_form.height() < kMinimumSize) {
        m_form.setHeight(kMinimumSize);
    }
    ListPictures.setWidth(m_form.clientWidth());
    ListPictures.setHeight(m_form.clientHeight());
}

void frmLineupSelector::Form_Unload(int& cancel) {
    if (!m_app.AppClosing) {
        cancel = 1;
        m_form.hide();
        return;
    }
    if (m_form.windowState() == WindowState::Minimized) {
        return;
    }
    Settings settings(m_app);
    settings.saveTwips(setting::kLineupSelectorLeft, m_form.left());
    settings.saveTwips(setting::kLineupSelectorTop, m_form.top());
    settings.saveTwips(setting::kLineupSelectorHeight, m_form.height());
    settings.saveTwips(setting::kLineupSelectorWidth, m_form.width());
}

void frmLineupSelector::Form_KeyPress(int& /*keyAscii*/) {
    m_app.frmImageViewer().QuickOff();
}

}  // namespace glimpa

namespace glimpa {

void frmLineupSelector::ListPictures_MouseUp(int /*button*/, int /*shift*/, Twips /*x*/,
                                             Twips /*y*/) {
    m_app.frmImageViewer().GetPic();
}

void frmLineupSelector::ListPictures_KeyUp(int keyCode, int /*shift*/) {
    if (ListPictures.text() == m_app.CurrentFile) {
        return;
    }
    if (keyCode == kKeyReturn || (keyCode >= kKeyLeft && keyCode <= kKeyDown)) {
        m_app.frmImageViewer().GetPic();
    }
}

}  // namespace glimpa

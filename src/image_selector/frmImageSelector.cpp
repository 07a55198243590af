#include "image_selector/frmImageSelector.h"

#include "app/AppContext.h"
#include "app/ScreenPlacement.h"
#include "app/Settings.h"
#include "lineup_selector/frmLineupSelector.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

namespace {

/// The drives as the system mounts them now.
DriveSource drivesOf(Environment& environment) {
    return [&environment] { return environment.drives(); };
}

}  // namespace

frmImageSelector::frmImageSelector(AppContext& app)
    : Window(app, "frmImageSelector"),
      Drive1("Drive1", &m_form, drivesOf(app.services().environment)),
      Dir1("Dir1", &m_form, drivesOf(app.services().environment),
           app.services().environment.nameSorter()),
      Timer1("Timer1", app.services().timers) {
    design();
    wire();
}

void frmImageSelector::design() {
    File1.setNameSorter(m_app.services().environment.nameSorter());
    m_form.setClientSize(3660, 5370);
    m_form.setSizable(false);
    m_form.setCaption(caption(0));
    m_form.setKeyPreview(true);
    m_form.setHelpTopic("selector");
    Drive1.move(0, 30, 3660, 315);
    Dir1.move(0, 390, 3660, 2340);
    File1.move(0, 2760, 3660, 1845);
    File1.setPattern(kPicturePattern);
    Picture1.move(15, 2775, 3630, 1815);
    Picture1.setVisible(false);
    lblStatus.move(30, 780, 3495, 345);
    lblStatus.setAlignment(TextAlign::Center);
    lblStatus.setCaption("Loading Image for Preview");
    cmdAdd.move(30, 4650, 1575, 435);
    cmdAdd.setCaption("Add &Selected");
    cmdAddAll.move(2040, 4650, 1575, 435);
    cmdAddAll.setCaption("Add &All");
    ProgressBar1.move(0, 5145, 3660, 225);
    ProgressBar1.setMin(0);
    ProgressBar1.setMax(100);
    Timer1.setInterval(0);

    Drive1.setAccessible("Drives");
    Dir1.setAccessible("Folders", "Double-click or Enter opens a folder");
    File1.setAccessible("Picture files", "Click to show a file; Enter adds it to the lineup");
    Picture1.setAccessible("Status");
    Picture1.setTabStop(false);
    ProgressBar1.setAccessible("Adding progress");
}

void frmImageSelector::wire() {
    m_form.Activate.connect([this] { Form_Activate(); });
    m_form.KeyPress.connect([this](int& keyAscii) { Form_KeyPress(keyAscii); });
    Drive1.Change.connect([this] { Drive1_Change(); });
    Dir1.Change.connect([this] { Dir1_Change(); });
    File1.Click.connect([this] { File1_Click(); });
    File1.KeyUp.connect([this](int keyCode, int shift) { File1_KeyUp(keyCode, shift); });
    cmdAdd.Click.connect([this] { cmdAdd_Click(); });
    cmdAddAll.Click.connect([this] { cmdAddAll_Click(); });
    Timer1.Tick.connect([this] { Timer1_Timer(); });
}

std::string frmImageSelector::caption(int selectedCount) {
    return m_app.title() + " Image Selector  (" + std::to_string(selectedCount) + ")";
}

std::string frmImageSelector::pathOf(const std::string& name) {
    return Dir1.path() + m_app.services().environment.pathSeparator() + name;
}

void frmImageSelector::showStatus(const std::string& text) {
    Picture1.setVisible(true);
    File1.setVisible(false);
    lblStatus.setCaption(text);
    Picture1.refresh();
}

void frmImageSelector::hideStatus() {
    Picture1.setVisible(false);
    File1.setVisible(true);
}

void frmImageSelector::Form_Load() {
    KeepOnTop(m_form, 1);
    const Settings settings(m_app);
    settings.restoreTwips(setting::kImageSelectorLeft, 1000,
                          [this](Twips v) { m_form.setLeft(v); });
    settings.restoreTwips(setting::kImageSelectorTop, 1000, [this](Twips v) { m_form.setTop(v); });
    // A stored value that is not text fails every step that tests it.
    auto given = [](const std::optional<std::string>& text) { return text && !text->empty(); };
    const auto drive = settings.get(setting::kImageSelectorDrive);
    const auto folder = settings.get(setting::kImageSelectorPath);
    const auto filesFolder = settings.get(setting::kImageSelectorFiles);
    if (given(drive)) {
        Drive1.setDrive(*drive);
    }
    if (given(folder) && given(drive)) {
        Dir1.setPath(*folder);
    }
    if (given(filesFolder) && given(folder) && given(drive)) {
        File1.setPath(*filesFolder);
    }
    File1.setWidth(m_form.clientWidth());
    Dir1.setWidth(m_form.clientWidth());
    Drive1.setWidth(m_form.clientWidth());
    Picture1.setWidth(File1.width() - 30);
    keepTitleBarOnScreen(m_form, m_app.services().environment.screens());
}

void frmImageSelector::Form_Activate() {
    UpdateUI();
}

void frmImageSelector::Form_KeyPress(int& /*keyAscii*/) {
    m_app.frmImageViewer().QuickOff();
}

void frmImageSelector::Form_Unload(int& cancel) {
    if (m_app.AppClosing) {
        if (m_form.windowState() != WindowState::Minimized) {
            Settings settings(m_app);
            settings.saveTwips(setting::kImageSelectorLeft, m_form.left());
            settings.saveTwips(setting::kImageSelectorTop, m_form.top());
            settings.save(setting::kImageSelectorDrive, Drive1.drive());
            settings.save(setting::kImageSelectorPath, Dir1.path());
            settings.save(setting::kImageSelectorFiles, File1.path());
        }
        return;
    }
    cancel = 1;
    File1.refresh();
    m_form.setCaption(caption(0));
    m_form.hide();
    m_app.frmLineupSelector().ListPictures.setListIndex(0);
}

void frmImageSelector::Drive1_Change() {
    Dir1.setPathToDrive(Drive1.drive());
    frmImageViewer& viewer = m_app.frmImageViewer();
    viewer.ImageClear();
    UpdateUI();
    viewer.UpdateUI();
}

void frmImageSelector::Dir1_Change() {
    // Opening a folder may cross into another mounted file system.
    Drive1.followFolder(Dir1.path());
    frmImageViewer& viewer = m_app.frmImageViewer();
    viewer.ImageClear();
    viewer.UpdateUI();
    File1.setPath(Dir1.path());
    UpdateUI();
}

void frmImageSelector::UpdateUI() {
    cmdAddAll.setEnabled(File1.listCount() > 0);
    const int current = File1.listIndex();
    cmdAdd.setEnabled(current >= 0 && File1.selected(current));
}

void frmImageSelector::File1_KeyUp(int keyCode, int /*shift*/) {
    if (keyCode == kKeyReturn) {
        AddImage();
    }
}

}  // namespace glimpa

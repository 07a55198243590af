#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Travel.h"
#include "app/Window.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/DirListBox.h"
#include "platform/controls/DriveListBox.h"
#include "platform/controls/FileListBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/Timer.h"

namespace glimpa {

/// The side window for browsing drives, folders and picture files, showing a
/// file in the main window as a preview, and adding files to the lineup. Once
/// loaded it is only hidden, never unloaded, until the program closes.
class frmImageSelector : public Window {
public:
    explicit frmImageSelector(AppContext& app);

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Activate();
    void Form_KeyPress(int& keyAscii);
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void File1_KeyUp(int keyCode, int shift);
    void cmdAdd_Click();
    void cmdAddAll_Click();
    void Timer1_Timer();

    void UpdateUI();
    /// The files beside the one last previewed from the file list, the next
    /// in the direction of travel first; none when `path` is not that file.
    std::vector<std::string> previewNeighbours(const std::string& path);
    void AddImage();
    /// 1: the selected files; 2: all listed files.
    void AddMultiple(std::int16_t MultipleType);

    DriveListBox Drive1;
    DirListBox Dir1;
    FileListBox File1{"File1", &m_form};
    PictureBox Picture1{"Picture1", &m_form};
    Label lblStatus{"lblStatus", &Picture1};
    CommandButton cmdAdd{"cmdAdd", &m_form};
    CommandButton cmdAddAll{"cmdAddAll", &m_form};
    ProgressBar ProgressBar1{"ProgressBar1", &m_form};
    Timer Timer1;

    /// The number of selected files as last counted by a click in the list
    /// (32 bits: a folder may hold more files than a 16-bit count can hold).
    std::int32_t SelectedCount = 0;

private:
    void design();
    void wire();
    /// The full path of a listed file: the folder, the separator, the name.
    std::string pathOf(const std::string& name);
    /// The caption with the number of selected files.
    std::string caption(int selectedCount);
    void showStatus(const std::string& text);
    void hideStatus();

    /// The row of the file list last previewed, and the direction of travel
    /// that led there.
    Travel m_travel;
};

}  // namespace glimpa

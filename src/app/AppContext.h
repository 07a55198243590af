#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Identity.h"
#include "platform/services/Services.h"

namespace glimpa {

class Window;
class frmImageViewer;
class frmImageSelector;
class frmLineupSelector;

enum class WindowId { ImageViewer, ImageSelector, LineupSelector };

/// The program-wide values, the services and the windows. Each window exists
/// at most once and is created and loaded the first time it is referred to;
/// asking to unload a window that was never loaded does nothing.
class AppContext {
public:
    explicit AppContext(Services services);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Services& services() { return m_services; }
    /// The program's title, used as the application name of its settings and
    /// as the title of its message boxes.
    std::string title() const { return kProgramTitle; }
    std::string helpFilePath();

    bool AppClosing = false;
    std::string CurrentFile;

    glimpa::frmImageViewer& frmImageViewer();
    glimpa::frmImageSelector& frmImageSelector();
    glimpa::frmLineupSelector& frmLineupSelector();

    bool isLoaded(WindowId id) const;
    /// Runs the window's unload handling; the window goes away unless it refuses.
    void Unload(WindowId id);
    /// Ends the program at once: no unload handling runs, nothing is saved.
    void End();
    /// Shows a message box titled with the program's title and waits for the
    /// answer. No timer event runs while it is open.
    int MsgBox(const std::string& text, int style);

private:
    template <typename W>
    W& reference(std::unique_ptr<W>& slot);
    bool unloadWindow(Window& window);
    Window* loaded(WindowId id) const;

    Services m_services;
    std::unique_ptr<glimpa::frmImageViewer> m_imageViewer;
    std::unique_ptr<glimpa::frmImageSelector> m_imageSelector;
    std::unique_ptr<glimpa::frmLineupSelector> m_lineupSelector;
    std::vector<std::unique_ptr<Window>> m_unloaded;
};

/// Keeps a window above all windows that are not themselves kept on top
/// (flag non-zero) or releases it (flag zero); never moves or resizes it.
void KeepOnTop(Form& window, std::int16_t flag);

}  // namespace glimpa

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace glimpa {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

/// A rectangle in twips (screen work areas, window frames).
struct TwipsRect {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;
};

/// A top-level window. Its left, top, width and height are the outer frame in
/// twips; the client area is the frame less the window decoration. Setting the
/// size raises Resize at once; a minimized or maximized window refuses to be
/// sized. Aligned children follow the client area.
class Form : public Control {
public:
    explicit Form(std::string name);
    ~Form() override;

    ControlKind kind() const override { return ControlKind::Form; }

    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption);

    WindowState windowState() const { return m_state; }
    void setWindowState(WindowState state);

    Twips clientWidth() const;
    Twips clientHeight() const;
    /// Placing the window by code; until then the window system places it.
    bool setLeft(Twips value) override;
    bool setTop(Twips value) override;
    bool placed() const { return m_placed; }
    bool setWidth(Twips value) override;
    bool setHeight(Twips value) override;
    /// Sets the client area's size (design time).
    void setClientSize(Twips width, Twips height);

    void setKeyPreview(bool on) { m_keyPreview = on; }

    /// Whether the user may resize the window; a tool window of fixed layout
    /// may not.
    bool sizable() const { return m_sizable; }
    void setSizable(bool on) { m_sizable = on; }

    bool topmost() const { return m_topmost; }
    /// Keeps the window above all windows that are not themselves kept on top;
    /// its position and size are not changed.
    void setTopmost(bool on);

    /// Makes the window visible and active and brings it to the front, also
    /// when it was visible already; a minimized window is restored to the
    /// state it was minimized from. The first show also raises Resize.
    void show();
    void hide() { setVisible(false); }
    /// A hidden window is no longer the active one.
    void setVisible(bool visible) override;

    Control* activeControl() const { return m_activeControl; }
    void setActiveControl(Control* control);

    /// The screen area a maximized window fills.
    void setWorkArea(TwipsRect area) { m_workArea = area; }
    /// The frame a maximized or minimized window is restored to.
    TwipsRect normalFrame() const { return m_normalFrame; }

    /// Set by the owner of the window: runs the unload handling and tells
    /// whether the window went away.
    void setUnloadRequestHandler(std::function<bool()> handler) {
        m_unloadHandler = std::move(handler);
    }
    bool requestUnload() { return m_unloadHandler ? m_unloadHandler() : true; }

    /// Whether files and folders may be dropped on the window.
    bool acceptsFiles() const { return m_acceptsFiles; }
    void setAcceptsFiles(bool on) { m_acceptsFiles = on; }

    /// The section of the help that F1 in this window opens ("" for its top).
    const std::string& helpTopic() const { return m_helpTopic; }
    void setHelpTopic(std::string topic) { m_helpTopic = std::move(topic); }

    Event<> Activate;
    Event<> Resize;
    Event<int&> KeyPress;
    /// Files and folders dropped on the window, their paths in the order given.
    Event<const std::vector<std::string>&> FilesDropped;

    // What the window system reports back.
    void platformGeometry(TwipsRect outer, Twips clientWidth, Twips clientHeight);
    /// The decoration's real size, known once the window is on screen. The
    /// window keeps the size it was given: its client area when it was given
    /// one (its design size), else its outer size (a size restored or set).
    void platformDecoration(Twips width, Twips height);
    Twips decorationWidth() const { return m_decorationWidth; }
    Twips decorationHeight() const { return m_decorationHeight; }
    void platformWindowState(WindowState state);
    void platformActivated();
    void platformDeactivated() { m_active = false; }
    /// A key that produced a character; returns the character left for the
    /// focused control (0 when the window swallowed it).
    int platformKeyPress(int keyAscii);

private:
    void sizeChanged();
    void layoutAligned();
    /// Goes over to another state, remembering what restoring needs.
    void leaveState(WindowState state);

    std::string m_caption;
    WindowState m_state = WindowState::Normal;
    TwipsRect m_normalFrame;
    WindowState m_stateBeforeMinimized = WindowState::Normal;
    TwipsRect m_workArea{0, 0, 19200, 10800};
    Twips m_decorationWidth = 120;
    Twips m_decorationHeight = 480;
    bool m_keyPreview = false;
    bool m_sizable = true;
    bool m_acceptsFiles = false;
    std::string m_helpTopic;
    bool m_placed = false;
    bool m_sizedByClient = true;
    bool m_topmost = false;
    bool m_shownOnce = false;
    bool m_active = false;
    Control* m_activeControl = nullptr;
    std::function<bool()> m_unloadHandler;
};

}  // namespace glimpa

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Twips.h"
#include "platform/controls/Event.h"

namespace glimpa {

class Form;

/// What part of a control's state changed; lets a binding refresh only that part.
enum class Aspect {
    Geometry,
    Visibility,
    Enabled,
    Text,
    ToolTip,
    Value,
    Range,
    Picture,
    Items,
    Selection,
    Focus,
    Style,
    /// A window asks to come to the front, active.
    Activation,
};

/// How a control places itself against its container's client area.
enum class Align { None, Top, Right };

enum class ControlKind {
    Form,
    Label,
    CommandButton,
    CheckBox,
    Frame,
    PictureBox,
    Image,
    HScrollBar,
    VScrollBar,
    ListBox,
    DriveListBox,
    DirListBox,
    FileListBox,
    Toolbar,
    Slider,
    ProgressBar,
};

/// Base of every control model: name, place in the containment tree, position
/// and size in twips, visibility, enabled state and tool tip. Changes are
/// reported to observers (the platform binding) after they are made.
class Control {
public:
    using Observer = std::function<void(Aspect)>;

    Control(std::string name, Control* container);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual ControlKind kind() const = 0;
    const std::string& name() const { return m_name; }
    Control* container() const { return m_container; }
    const std::vector<Control*>& children() const { return m_children; }
    Form* form();

    Twips left() const { return m_left; }
    Twips top() const { return m_top; }
    Twips width() const { return m_width; }
    Twips height() const { return m_height; }
    virtual bool setLeft(Twips value);
    virtual bool setTop(Twips value);
    virtual bool setWidth(Twips value);
    virtual bool setHeight(Twips value);
    void move(Twips left, Twips top, Twips width, Twips height);

    bool visible() const { return m_visible; }
    virtual void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    const std::string& toolTip() const { return m_toolTip; }
    void setToolTip(std::string text);

    /// How assistive technology names and describes the control; the tool
    /// tip names it when no name is set.
    const std::string& accessibleName() const { return m_accessibleName; }
    const std::string& accessibleDescription() const { return m_accessibleDescription; }
    void setAccessible(std::string name, std::string description = {}) {
        m_accessibleName = std::move(name);
        m_accessibleDescription = std::move(description);
        changed(Aspect::ToolTip);
    }

    Align align() const { return m_align; }
    /// Aligned controls follow their container's client area (see Form).
    void setAlign(Align align) { m_align = align; }

    /// Gives this control the keyboard focus within its window.
    void setFocus();
    bool hasFocus();

    int observe(Observer observer);
    void unobserve(int id);

protected:
    void changed(Aspect aspect);
    /// Sets a length; reports a geometry change only when the value differs.
    bool assignLength(Twips& field, Twips value);
    /// Sets a value; only a new value is reported and raises the control's
    /// change event, when it has one.
    template <typename T>
    void assignValue(T& field, const T& value, Event<>* change = nullptr) {
        if (field != value) {
            field = value;
            changed(Aspect::Value);
            if (change != nullptr) {
                (*change)();
            }
        }
    }

private:
    std::string m_name;
    Control* m_container;
    std::vector<Control*> m_children;
    Twips m_left = 0;
    Twips m_top = 0;
    Twips m_width = 0;
    Twips m_height = 0;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_toolTip;
    std::string m_accessibleName;
    std::string m_accessibleDescription;
    Align m_align = Align::None;
    std::vector<std::pair<int, Observer>> m_observers;
    int m_nextObserverId = 1;
};

}  // namespace glimpa

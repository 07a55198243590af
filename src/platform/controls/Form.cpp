#include "platform/controls/Form.h"

#include <algorithm>

namespace glimpa {

Form::Form(std::string name) : Control(std::move(name), nullptr) {
    Control::setVisible(false);
}

Form::~Form() = default;

void Form::setCaption(std::string caption) {
    if (m_caption != caption) {
        m_caption = std::move(caption);
        changed(Aspect::Text);
    }
}

Twips Form::clientWidth() const {
    return std::max<Twips>(0, width() - m_decorationWidth);
}

Twips Form::clientHeight() const {
    return std::max<Twips>(0, height() - m_decorationHeight);
}

bool Form::setLeft(Twips value) {
    m_placed = true;
    return Control::setLeft(value);
}

bool Form::setTop(Twips value) {
    m_placed = true;
    return Control::setTop(value);
}

bool Form::setWidth(Twips value) {
    if (m_state != WindowState::Normal || value < 0) {
        return false;
    }
    m_sizedByClient = false;
    const Twips before = width();
    if (!Control::setWidth(value)) {
        return false;
    }
    if (before != value) {
        sizeChanged();
    }
    return true;
}

bool Form::setHeight(Twips value) {
    if (m_state != WindowState::Normal || value < 0) {
        return false;
    }
    m_sizedByClient = false;
    const Twips before = height();
    if (!Control::setHeight(value)) {
        return false;
    }
    if (before != value) {
        sizeChanged();
    }
    return true;
}

void Form::setClientSize(Twips width, Twips height) {
    m_sizedByClient = true;
    Control::setWidth(width + m_decorationWidth);
    Control::setHeight(height + m_decorationHeight);
    layoutAligned();
}

void Form::setWindowState(WindowState state) {
    if (m_state == state) {
        return;
    }
    leaveState(state);
    changed(Aspect::Style);
    if (state == WindowState::Maximized) {
        Control::setLeft(m_workArea.left);
        Control::setTop(m_workArea.top);
        Control::setWidth(m_workArea.width);
        Control::setHeight(m_workArea.height);
    } else if (state == WindowState::Normal) {
        Control::setLeft(m_normalFrame.left);
        Control::setTop(m_normalFrame.top);
        Control::setWidth(m_normalFrame.width);
        Control::setHeight(m_normalFrame.height);
    }
    sizeChanged();
}

void Form::setTopmost(bool on) {
    if (m_topmost != on) {
        m_topmost = on;
        changed(Aspect::Style);
    }
}

void Form::show() {
    if (m_state == WindowState::Minimized) {
        setWindowState(m_stateBeforeMinimized);
    }
    const bool first = !m_shownOnce;
    m_shownOnce = true;
    setVisible(true);
    if (first) {
        Resize();
    }
    changed(Aspect::Activation);
    platformActivated();
}

void Form::setVisible(bool visible) {
    if (!visible) {
        m_active = false;
    }
    Control::setVisible(visible);
}

void Form::setActiveControl(Control* control) {
    m_activeControl = control;
    changed(Aspect::Focus);
}

void Form::platformGeometry(TwipsRect outer, Twips clientWidth, Twips clientHeight) {
    Control::setLeft(outer.left);
    Control::setTop(outer.top);
    const bool resized = outer.width != width() || outer.height != height() ||
                         clientWidth != this->clientWidth() || clientHeight != this->clientHeight();
    m_decorationWidth = std::max<Twips>(0, outer.width - clientWidth);
    m_decorationHeight = std::max<Twips>(0, outer.height - clientHeight);
    Control::setWidth(outer.width);
    Control::setHeight(outer.height);
    if (resized) {
        m_sizedByClient = m_sizedByClient && m_state != WindowState::Normal;
        sizeChanged();
    }
}

void Form::platformDecoration(Twips width, Twips height) {
    if (width == m_decorationWidth && height == m_decorationHeight) {
        return;
    }
    const Twips client[2] = {clientWidth(), clientHeight()};
    m_decorationWidth = width;
    m_decorationHeight = height;
    if (m_sizedByClient) {
        Control::setWidth(client[0] + width);
        Control::setHeight(client[1] + height);
    }
    changed(Aspect::Geometry);
    sizeChanged();
}

void Form::platformWindowState(WindowState state) {
    if (m_state == state) {
        return;
    }
    const bool restored = m_state == WindowState::Maximized && state == WindowState::Normal;
    leaveState(state);
    if (restored) {
        // The window system gives the window back the size it had before it
        // was maximized.
        Control::setWidth(m_normalFrame.width);
        Control::setHeight(m_normalFrame.height);
    }
    sizeChanged();
}

void Form::leaveState(WindowState state) {
    if (m_state == WindowState::Normal) {
        m_normalFrame = {left(), top(), width(), height()};
    }
    if (state == WindowState::Minimized) {
        m_stateBeforeMinimized = m_state;
    }
    m_state = state;
}

void Form::platformActivated() {
    if (!m_active && visible()) {
        m_active = true;
        Activate();
    }
}

int Form::platformKeyPress(int keyAscii) {
    if (m_keyPreview && keyAscii != 0) {
        KeyPress(keyAscii);
    }
    return keyAscii;
}

void Form::sizeChanged() {
    layoutAligned();
    Resize();
}

void Form::layoutAligned() {
    Twips top = 0;
    for (Control* child : children()) {
        if (child->align() == Align::Top) {
            child->setLeft(0);
            child->setTop(top);
            child->setWidth(clientWidth());
            if (child->visible()) {
                top += child->height();
            }
        }
    }
    for (Control* child : children()) {
        if (child->align() == Align::Right) {
            child->setLeft(std::max<Twips>(0, clientWidth() - child->width()));
            child->setTop(top);
            child->setHeight(std::max<Twips>(0, clientHeight() - top));
        }
    }
}

}  // namespace glimpa

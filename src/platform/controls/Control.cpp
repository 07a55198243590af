#include "platform/controls/Control.h"

#include <algorithm>
#include <cmath>

#include "platform/controls/Form.h"

namespace glimpa {

Control::Control(std::string name, Control* container)
    : m_name(std::move(name)), m_container(container) {
    if (m_container != nullptr) {
        m_container->m_children.push_back(this);
    }
}

Control::~Control() {
    if (m_container != nullptr) {
        std::erase(m_container->m_children, this);
    }
}

Form* Control::form() {
    Control* control = this;
    while (control->m_container != nullptr) {
        control = control->m_container;
    }
    return control->kind() == ControlKind::Form ? static_cast<Form*>(control) : nullptr;
}

bool Control::assignLength(Twips& field, Twips value) {
    if (!std::isfinite(value)) {
        return false;
    }
    if (field != value) {
        field = value;
        changed(Aspect::Geometry);
    }
    return true;
}

bool Control::setLeft(Twips value) {
    return assignLength(m_left, value);
}
bool Control::setTop(Twips value) {
    return assignLength(m_top, value);
}

bool Control::setWidth(Twips value) {
    return value >= 0 && assignLength(m_width, value);
}

bool Control::setHeight(Twips value) {
    return value >= 0 && assignLength(m_height, value);
}

void Control::move(Twips left, Twips top, Twips width, Twips height) {
    setLeft(left);
    setTop(top);
    setWidth(width);
    setHeight(height);
}

void Control::setVisible(bool visible) {
    if (m_visible != visible) {
        m_visible = visible;
        changed(Aspect::Visibility);
    }
}

void Control::setEnabled(bool enabled) {
    if (m_enabled != enabled) {
        m_enabled = enabled;
        changed(Aspect::Enabled);
    }
}

void Control::setToolTip(std::string text) {
    if (m_toolTip != text) {
        m_toolTip = std::move(text);
        changed(Aspect::ToolTip);
    }
}

void Control::setFocus() {
    if (Form* owner = form()) {
        owner->setActiveControl(this);
    }
}

bool Control::hasFocus() {
    Form* owner = form();
    return owner != nullptr && owner->activeControl() == this;
}

int Control::observe(Observer observer) {
    const int id = m_nextObserverId++;
    m_observers.emplace_back(id, std::move(observer));
    return id;
}

void Control::unobserve(int id) {
    std::erase_if(m_observers, [id](const auto& entry) { return entry.first == id; });
}

void Control::changed(Aspect aspect) {
    // An observer may unobserve while being told; iterate over a copy.
    const auto observers = m_observers;
    for (const auto& [id, observer] : observers) {
        observer(aspect);
    }
}

}  // namespace glimpa

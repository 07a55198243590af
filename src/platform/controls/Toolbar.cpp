#include "platform/controls/Toolbar.h"

namespace glimpa {

void Toolbar::addButton(ToolbarButton button) {
    m_buttons.push_back(std::move(button));
    changed(Aspect::Items);
}

const ToolbarButton* Toolbar::button(const std::string& key) const {
    for (const auto& button : m_buttons) {
        if (button.key == key) {
            return &button;
        }
    }
    return nullptr;
}

ToolbarButton* Toolbar::find(const std::string& key) {
    return const_cast<ToolbarButton*>(std::as_const(*this).button(key));
}

bool Toolbar::setButtonEnabled(const std::string& key, bool enabled) {
    ToolbarButton* target = find(key);
    if (target == nullptr) {
        return false;
    }
    if (target->enabled != enabled) {
        target->enabled = enabled;
        changed(Aspect::Items);
    }
    return true;
}

bool Toolbar::setButtonImage(const std::string& key, int image) {
    ToolbarButton* target = find(key);
    if (target == nullptr || image < 0 || image > static_cast<int>(m_imageList.size())) {
        return false;
    }
    if (target->image != image) {
        target->image = image;
        changed(Aspect::Items);
    }
    return true;
}

bool Toolbar::setButtonToolTip(const std::string& key, std::string toolTip) {
    ToolbarButton* target = find(key);
    if (target == nullptr) {
        return false;
    }
    if (target->toolTip != toolTip) {
        target->toolTip = std::move(toolTip);
        changed(Aspect::Items);
    }
    return true;
}

void Toolbar::click(const std::string& key) {
    const ToolbarButton* target = button(key);
    if (target != nullptr && target->enabled && enabled()) {
        // The handler may change the buttons; hand it a copy.
        const ToolbarButton clicked = *target;
        ButtonClick(clicked);
    }
}

}  // namespace glimpa

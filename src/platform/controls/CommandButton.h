#pragma once

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace glimpa {

/// A push button showing a caption or a picture from the artwork set.
class CommandButton : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::CommandButton; }

    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) {
        m_caption = std::move(caption);
        changed(Aspect::Text);
    }
    /// The name of the button's picture in the artwork set; empty for none.
    const std::string& artwork() const { return m_artwork; }
    void setArtwork(std::string name) {
        m_artwork = std::move(name);
        changed(Aspect::Picture);
    }

    /// A click by the user (or the keyboard) on an enabled button.
    void click() {
        if (enabled()) {
            Click();
        }
    }

    Event<> Click;

private:
    std::string m_caption;
    std::string m_artwork;
};

}  // namespace glimpa

#pragma once

#include <string>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace glimpa {

/// One toolbar button, addressed by its key.
struct ToolbarButton {
    std::string key;
    std::string toolTip;
    int image = 0;  ///< 1-based index into the toolbar's image list; 0 for none
    bool enabled = true;
};

/// A row of picture buttons; it can also host other controls. Button widths
/// are fixed so that hosted controls can be placed beside them.
class Toolbar : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Toolbar; }

    static constexpr Twips kButtonWidth = 600;

    void addButton(ToolbarButton button);
    const std::vector<ToolbarButton>& buttons() const { return m_buttons; }
    const ToolbarButton* button(const std::string& key) const;

    bool setButtonEnabled(const std::string& key, bool enabled);
    bool setButtonImage(const std::string& key, int image);
    bool setButtonToolTip(const std::string& key, std::string toolTip);

    /// The artwork names of the image list, in order (image 1 first).
    const std::vector<std::string>& imageList() const { return m_imageList; }
    void setImageList(std::vector<std::string> artwork) { m_imageList = std::move(artwork); }

    /// A click by the user on the button with this key; ignored when disabled.
    void click(const std::string& key);

    Event<const ToolbarButton&> ButtonClick;

private:
    ToolbarButton* find(const std::string& key);

    std::vector<ToolbarButton> m_buttons;
    std::vector<std::string> m_imageList;
};

}  // namespace glimpa

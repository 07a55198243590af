#pragma once

#include "platform/controls/Control.h"
#include "platform/services/Picture.h"

namespace glimpa {

/// Shows a picture. With stretching off the control takes the picture's
/// natural size (one image pixel per logical pixel); with stretching on the
/// picture is scaled to whatever size the control is given.
class Image : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Image; }

    const Picture& picture() const { return m_picture; }
    void setPicture(Picture picture);

    bool stretch() const { return m_stretch; }
    void setStretch(bool on);

    Twips naturalWidth() const;
    Twips naturalHeight() const;

    /// The picture, held smaller than its natural size, could not be had
    /// larger when it was to be shown larger.
    Event<> Outgrown;

private:
    void takeNaturalSize();

    Picture m_picture;
    bool m_stretch = false;
};

}  // namespace glimpa

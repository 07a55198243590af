#pragma once

#include <vector>

#include "platform/controls/Form.h"

namespace glimpa {

/// Moves a window whose title bar would be off every screen (a monitor that
/// is gone) onto the primary screen; otherwise leaves it where it is.
void keepTitleBarOnScreen(Form& window, const std::vector<TwipsRect>& screens);

}  // namespace glimpa

#pragma once

#include <Qt>

namespace glimpa {

/// The modifier state of key and mouse events (kShiftMask …).
int shiftState(Qt::KeyboardModifiers modifiers);
/// The classic key code of a Qt key: letters and digits as their upper-case
/// character, the named keys as their virtual-key numbers; 0 for others.
int keyCode(int key);

}  // namespace glimpa

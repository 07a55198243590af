#pragma once

#include <QWidget>

namespace glimpa {

class Control;
class QtArtwork;

/// A widget for one of the plain control kinds (labels, buttons, check boxes,
/// frames, panels, pictures, scroll bars, sliders, progress bars, toolbars),
/// bound to its model both ways: model changes reach the widget with its
/// signals blocked, user input reaches the model.
QWidget* bindControl(Control& control, QWidget* parent, QtArtwork& artwork);

}  // namespace glimpa

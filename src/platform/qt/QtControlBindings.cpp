#include "platform/qt/QtControlBindings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <cmath>

#include "platform/controls/CheckBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/Frame.h"
#include "platform/controls/Image.h"
#include "platform/controls/Label.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/Slider.h"
#include "platform/controls/Toolbar.h"
#include "platform/qt/QtArtwork.h"
#include "platform/qt/QtEventHook.h"
#include "platform/qt/QtGeometry.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtModality.h"
#include "platform/qt/widgets/PictureWidget.h"

namespace glimpa {

namespace {

void syncLabel(Label& label, QLabel* widget) {
    widget->setText(QString::fromStdString(label.caption()));
    switch (label.alignment()) {
        case TextAlign::Left:
            widget->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            break;
        case TextAlign::Center:
            widget->setAlignment(Qt::AlignCenter);
            break;
        case TextAlign::Right:
            widget->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            break;
    }
}

void syncScrollBar(ScrollBar& bar, QScrollBar* widget) {
    const QSignalBlocker blocker(widget);
    widget->setRange(std::min(bar.min(), bar.max()), std::max(bar.min(), bar.max()));
    widget->setInvertedAppearance(bar.min() > bar.max());
    widget->setSingleStep(bar.smallChange());
    widget->setPageStep(bar.largeChange());
    widget->setValue(bar.value());
}

void syncProgressBar(ProgressBar& bar, QProgressBar* widget) {
    // An empty range would make the bar run as a busy indicator; show it empty.
    const int min = static_cast<int>(std::lround(bar.min()));
    const int max = static_cast<int>(std::lround(bar.max()));
    if (max <= min) {
        widget->setRange(0, 1);
        widget->setValue(0);
        return;
    }
    // A long range (one step a file, for thousands of files) is shown in at
    // most a thousand steps: the bar is redrawn only when it moves.
    constexpr int kMostSteps = 1000;
    if (max - min <= kMostSteps) {
        widget->setRange(min, max);
        widget->setValue(static_cast<int>(std::lround(bar.value())));
        return;
    }
    widget->setRange(0, kMostSteps);
    widget->setValue(static_cast<int>(
        std::lround((bar.value() - bar.min()) / (bar.max() - bar.min()) * kMostSteps)));
}

void syncToolbar(Toolbar& toolbar, const std::vector<QToolButton*>& buttons, QtArtwork& artwork) {
    const auto& models = toolbar.buttons();
    for (std::size_t i = 0; i < buttons.size() && i < models.size(); ++i) {
        const ToolbarButton& model = models[i];
        QToolButton* button = buttons[i];
        button->setEnabled(model.enabled);
        button->setToolTip(QString::fromStdString(model.toolTip));
        button->setAccessibleName(QString::fromStdString(model.toolTip));
        const auto& images = toolbar.imageList();
        if (model.image >= 1 && model.image <= static_cast<int>(images.size())) {
            button->setIcon(artwork.icon(
                QString::fromStdString(images[static_cast<std::size_t>(model.image - 1)])));
        } else {
            button->setIcon({});
        }
    }
}

}  // namespace

QWidget* bindControl(Control& control, QWidget* parent, QtArtwork& artwork) {
    switch (control.kind()) {
        case ControlKind::Label: {
            auto& label = static_cast<Label&>(control);
            auto* widget = new QLabel(parent);
            syncLabel(label, widget);
            control.observe([&label, widget = QPointer<QLabel>(widget)](Aspect aspect) {
                if (!widget.isNull() && aspect == Aspect::Text) {
                    syncLabel(label, widget);
                }
            });
            return widget;
        }
        case ControlKind::CommandButton: {
            auto& button = static_cast<CommandButton&>(control);
            auto* widget = new QPushButton(parent);
            auto sync = [&artwork, &button, widget = QPointer<QPushButton>(widget)](Aspect aspect) {
                if (widget.isNull()) {
                    return;
                }
                if (aspect == Aspect::Text) {
                    widget->setText(QString::fromStdString(button.caption()));
                } else if (aspect == Aspect::Picture) {
                    widget->setIcon(button.artwork().empty()
                                        ? QIcon()
                                        : artwork.icon(QString::fromStdString(button.artwork())));
                }
            };
            sync(Aspect::Text);
            sync(Aspect::Picture);
            control.observe(sync);
            QObject::connect(widget, &QPushButton::clicked, widget, [&button, widget] {
                if (!blockedByModalBox(widget)) {
                    button.click();
                }
            });
            return widget;
        }
        case ControlKind::CheckBox: {
            auto& box = static_cast<CheckBox&>(control);
            auto* widget = new QCheckBox(parent);
            auto sync = [&box, widget = QPointer<QCheckBox>(widget)](Aspect aspect) {
                if (widget.isNull()) {
                    return;
                }
                const QSignalBlocker blocker(widget);
                if (aspect == Aspect::Text) {
                    widget->setText(QString::fromStdString(box.caption()));
                } else if (aspect == Aspect::Value) {
                    widget->setCheckState(box.value() == CheckBox::Checked  ? Qt::Checked
                                          : box.value() == CheckBox::Grayed ? Qt::PartiallyChecked
                                                                            : Qt::Unchecked);
                }
            };
            sync(Aspect::Text);
            sync(Aspect::Value);
            control.observe(sync);
            // Any change the user makes (a click, the space bar, an assistive
            // tool's toggle) reaches the model, unless a box waits for an
            // answer; the model's own are blocked.
            QObject::connect(
                widget, &QCheckBox::stateChanged, widget, [&box, widget, sync](int state) {
                    if (blockedByModalBox(widget)) {
                        sync(Aspect::Value);
                        return;
                    }
                    box.setValue(state == Qt::Checked            ? CheckBox::Checked
                                 : state == Qt::PartiallyChecked ? CheckBox::Grayed
                                                                 : CheckBox::Unchecked);
                });
            return widget;
        }
        case ControlKind::Frame: {
            auto& frame = static_cast<Frame&>(control);
            auto* widget = new QGroupBox(QString::fromStdString(frame.caption()), parent);
            return widget;
        }
        case ControlKind::PictureBox: {
            auto& box = static_cast<PictureBox&>(control);
            auto* widget = new QWidget(parent);
            auto sync = [&box, widget = QPointer<QWidget>(widget)](Aspect aspect) {
                if (widget.isNull() || aspect != Aspect::Style) {
                    return;
                }
                widget->setFocusPolicy(box.tabStop() ? Qt::StrongFocus : Qt::NoFocus);
                if (box.backColor() >= 0) {
                    QPalette palette = widget->palette();
                    palette.setColor(QPalette::Window,
                                     QColor::fromRgb(static_cast<QRgb>(box.backColor())));
                    widget->setPalette(palette);
                    widget->setAutoFillBackground(true);
                }
                if (widget->isVisible()) {
                    widget->repaint();
                }
            };
            sync(Aspect::Style);
            control.observe(sync);
            new EventHook(widget, [&box](QEvent* event) {
                if (event->type() == QEvent::KeyPress) {
                    auto* key = static_cast<QKeyEvent*>(event);
                    box.platformKeyDown(keyCode(key->key()), shiftState(key->modifiers()));
                }
                return false;
            });
            return widget;
        }
        case ControlKind::Image: {
            auto& image = static_cast<Image&>(control);
            auto* widget = new PictureWidget(parent);
            widget->setPicture(image.picture());
            widget->setStretch(image.stretch());
            widget->setOnOutgrown([&image] { image.Outgrown(); });
            control.observe([&image, widget = QPointer<PictureWidget>(widget)](Aspect aspect) {
                if (widget.isNull()) {
                    return;
                }
                if (aspect == Aspect::Picture) {
                    widget->setPicture(image.picture());
                } else if (aspect == Aspect::Style) {
                    widget->setStretch(image.stretch());
                }
            });
            return widget;
        }
        case ControlKind::HScrollBar:
        case ControlKind::VScrollBar: {
            auto& bar = static_cast<ScrollBar&>(control);
            auto* widget = new QScrollBar(
                control.kind() == ControlKind::VScrollBar ? Qt::Vertical : Qt::Horizontal, parent);
            syncScrollBar(bar, widget);
            control.observe([&bar, widget = QPointer<QScrollBar>(widget)](Aspect aspect) {
                if (!widget.isNull() && (aspect == Aspect::Value || aspect == Aspect::Range)) {
                    syncScrollBar(bar, widget);
                }
            });
            QObject::connect(widget, &QScrollBar::valueChanged, widget, [&bar, widget](int value) {
                if (blockedByModalBox(widget)) {
                    syncScrollBar(bar, widget);
                } else if (widget->isSliderDown()) {
                    bar.platformScroll(value);
                } else {
                    bar.setValue(value);
                }
            });
            QObject::connect(widget, &QScrollBar::sliderReleased, widget,
                             [&bar] { bar.platformScrollEnd(); });
            return widget;
        }
        case ControlKind::Slider: {
            auto& slider = static_cast<Slider&>(control);
            auto* widget = new QSlider(Qt::Horizontal, parent);
            widget->setTickPosition(QSlider::TicksBelow);
            widget->setTickInterval(1);
            widget->setPageStep(1);
            auto sync = [&slider, widget = QPointer<QSlider>(widget)](Aspect aspect) {
                if (widget.isNull() || (aspect != Aspect::Value && aspect != Aspect::Range)) {
                    return;
                }
                const QSignalBlocker blocker(widget);
                widget->setRange(slider.min(), slider.max());
                widget->setValue(slider.value());
            };
            sync(Aspect::Range);
            control.observe(sync);
            QObject::connect(widget, &QSlider::valueChanged, widget,
                             [&slider, widget, sync](int value) {
                                 if (blockedByModalBox(widget)) {
                                     sync(Aspect::Value);
                                 } else {
                                     slider.setValue(value);
                                 }
                             });
            new EventHook(widget, [&slider](QEvent* event) {
                if (event->type() == QEvent::MouseButtonPress) {
                    slider.MouseDown();
                }
                return false;
            });
            return widget;
        }
        case ControlKind::ProgressBar: {
            auto& bar = static_cast<ProgressBar&>(control);
            auto* widget = new QProgressBar(parent);
            widget->setTextVisible(false);
            if (control.height() > control.width()) {
                widget->setOrientation(Qt::Vertical);
            }
            syncProgressBar(bar, widget);
            control.observe([&bar, widget = QPointer<QProgressBar>(widget)](Aspect aspect) {
                if (!widget.isNull() && (aspect == Aspect::Value || aspect == Aspect::Range)) {
                    syncProgressBar(bar, widget);
                }
            });
            return widget;
        }
        case ControlKind::Toolbar: {
            auto& toolbar = static_cast<Toolbar&>(control);
            auto* widget = new QWidget(parent);
            widget->setAutoFillBackground(true);
            std::vector<QToolButton*> buttons;
            int x = 0;
            const int side = twipsToPixels(Toolbar::kButtonWidth);
            for (const ToolbarButton& model : toolbar.buttons()) {
                auto* button = new QToolButton(widget);
                button->setGeometry(x, 0, side, side);
                button->setIconSize(QSize(32, 32));
                button->setAutoRaise(true);
                x += side;
                QObject::connect(button, &QToolButton::clicked, button,
                                 [&toolbar, button, key = model.key] {
                                     if (!blockedByModalBox(button)) {
                                         toolbar.click(key);
                                     }
                                 });
                buttons.push_back(button);
            }
            syncToolbar(toolbar, buttons, artwork);
            control.observe(
                [&artwork, &toolbar, buttons, guard = QPointer<QWidget>(widget)](Aspect aspect) {
                    if (!guard.isNull() && aspect == Aspect::Items) {
                        syncToolbar(toolbar, buttons, artwork);
                    }
                });
            return widget;
        }
        default:
            break;
    }
    return new QWidget(parent);
}

}  // namespace glimpa

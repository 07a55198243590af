#include "platform/qt/QtBackend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <functional>

#include "platform/CheckBox.h"
#include "platform/CommandButton.h"
#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/Frame.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/PictureBox.h"
#include "platform/ProgressBar.h"
#include "platform/ScrollBar.h"
#include "platform/Slider.h"
#include "platform/Toolbar.h"
#include "platform/qt/QtArtwork.h"
#include "platform/qt/QtEventHook.h"
#include "platform/qt/QtGeometry.h"
#include "platform/qt/QtListBindings.h"
#include "platform/qt/widgets/FormWidget.h"
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
    widget->setRange(min, max);
    widget->setValue(static_cast<int>(std::lround(bar.value())));
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

QtBackend::QtBackend(HelpViewer& help) : m_help(help) {
    qApp->installEventFilter(this);
}

QtBackend::~QtBackend() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
    for (auto& [form, widget] : m_forms) {
        delete widget;
    }
}

QWidget* QtBackend::widgetFor(const Control& control) {
    if (Form* form = const_cast<Control&>(control).form();
        form != nullptr && m_pending.contains(form)) {
        buildWindow(*form);
    }
    const auto found = m_widgets.find(&control);
    return found != m_widgets.end() ? found->second.data() : nullptr;
}

void QtBackend::attach(Form& form) {
    if (form.visible()) {
        buildWindow(form);
        return;
    }
    // Widgets for a window that is not shown yet are made when it is first
    // shown: start-up need not build the hidden side windows.
    m_pending[&form] = form.observe([this, &form](Aspect aspect) {
        if (aspect == Aspect::Visibility && form.visible()) {
            buildWindow(form);
        }
    });
}

void QtBackend::buildWindow(Form& form) {
    if (const auto pending = m_pending.find(&form); pending != m_pending.end()) {
        form.unobserve(pending->second);
        m_pending.erase(pending);
    }
    if (m_forms.contains(&form)) {
        return;
    }
    build(form, nullptr);
    FormWidget* window = m_forms.at(&form);
    if (m_mainWindow.isNull()) {
        m_mainWindow = window;
    } else {
        window->setOwner(m_mainWindow);
    }
    window->sync(Aspect::Style);
    window->sync(Aspect::Visibility);
    form.setActiveControl(form.activeControl());
}

void QtBackend::detach(Form& form) {
    if (const auto pending = m_pending.find(&form); pending != m_pending.end()) {
        form.unobserve(pending->second);
        m_pending.erase(pending);
    }
    const auto found = m_forms.find(&form);
    if (found == m_forms.end()) {
        return;
    }
    delete found->second;
    m_forms.erase(found);
    std::erase_if(m_widgets, [](const auto& entry) { return entry.second.isNull(); });
}

QWidget* QtBackend::build(Control& control, QWidget* parent) {
    QWidget* widget = createWidget(control, parent);
    m_widgets[&control] = widget;
    bindCommon(control, widget);
    for (Control* child : control.children()) {
        build(*child, widget);
    }
    return widget;
}

void QtBackend::bindCommon(Control& control, QWidget* widget) {
    QPointer<QWidget> guard(widget);
    const bool topLevel = control.kind() == ControlKind::Form;
    auto apply = [this, &control, guard, topLevel](Aspect aspect) {
        if (guard.isNull()) {
            return;
        }
        switch (aspect) {
            case Aspect::Geometry:
                if (!topLevel) {
                    guard->setGeometry(twipsToRect(control.left(), control.top(), control.width(),
                                                   control.height()));
                }
                break;
            case Aspect::Visibility:
                if (!topLevel) {
                    guard->setVisible(control.visible());
                }
                break;
            case Aspect::Enabled:
                guard->setEnabled(control.enabled());
                break;
            case Aspect::ToolTip: {
                // A control named by its own caption keeps that name and its
                // tool tip describes it; one without words is named by the tip.
                const QString tip = QString::fromStdString(control.toolTip());
                guard->setToolTip(tip);
                const auto* button = qobject_cast<QAbstractButton*>(guard.data());
                const bool captioned = button != nullptr && !button->text().isEmpty();
                QString name = QString::fromStdString(control.accessibleName());
                QString description = QString::fromStdString(control.accessibleDescription());
                if (name.isEmpty() && !captioned) {
                    name = tip;
                } else if (description.isEmpty()) {
                    description = tip;
                }
                guard->setAccessibleName(name);
                guard->setAccessibleDescription(description);
                break;
            }
            case Aspect::Focus:
                if (topLevel) {
                    if (Control* active = static_cast<Form&>(control).activeControl()) {
                        if (QWidget* target = widgetFor(*active)) {
                            target->setFocus(Qt::OtherFocusReason);
                        }
                    }
                }
                break;
            default:
                break;
        }
    };
    for (Aspect aspect : {Aspect::Geometry, Aspect::Visibility, Aspect::Enabled, Aspect::ToolTip}) {
        apply(aspect);
    }
    control.observe(apply);
}

Form* QtBackend::formOf(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    QWidget* window = widget->window();
    for (const auto& [form, formWidget] : m_forms) {
        if (formWidget == window) {
            return const_cast<Form*>(form);
        }
    }
    return nullptr;
}

bool QtBackend::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    // A key event that no widget takes travels up to the window; preview it
    // once, where it first arrives.
    auto* receiver = qobject_cast<QWidget*>(watched);
    if (event == m_lastKey && receiver != nullptr && !m_lastKeyReceiver.isNull()) {
        auto* previous = qobject_cast<QWidget*>(m_lastKeyReceiver.data());
        if (previous != nullptr && previous != receiver && receiver->isAncestorOf(previous)) {
            return false;
        }
    }
    m_lastKey = event;
    m_lastKeyReceiver = watched;
    Form* form = formOf(watched);
    if (form == nullptr) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1) {
        m_help.showHelp();
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty()) {
        return false;
    }
    return form->platformKeyPress(text.at(0).unicode()) == 0;
}

QWidget* QtBackend::createWidget(Control& control, QWidget* parent) {
    switch (control.kind()) {
        case ControlKind::Form: {
            auto& form = static_cast<Form&>(control);
            auto* widget = new FormWidget(form);
            m_forms[&form] = widget;
            control.observe([widget = QPointer<FormWidget>(widget)](Aspect aspect) {
                if (!widget.isNull()) {
                    widget->sync(aspect);
                }
            });
            return widget;
        }
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
            auto sync = [this, &button, widget = QPointer<QPushButton>(widget)](Aspect aspect) {
                if (widget.isNull()) {
                    return;
                }
                if (aspect == Aspect::Text) {
                    widget->setText(QString::fromStdString(button.caption()));
                } else if (aspect == Aspect::Picture) {
                    widget->setIcon(button.artwork().empty()
                                        ? QIcon()
                                        : m_artwork.icon(QString::fromStdString(button.artwork())));
                }
            };
            sync(Aspect::Text);
            sync(Aspect::Picture);
            control.observe(sync);
            QObject::connect(widget, &QPushButton::clicked, widget, [&button] { button.click(); });
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
            // tool's toggle) reaches the model; the model's own are blocked.
            QObject::connect(widget, &QCheckBox::stateChanged, widget, [&box](int state) {
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
            widget->setFocusPolicy(Qt::StrongFocus);
            auto sync = [&box, widget = QPointer<QWidget>(widget)](Aspect aspect) {
                if (widget.isNull() || aspect != Aspect::Style) {
                    return;
                }
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
            return widget;
        }
        case ControlKind::Image: {
            auto& image = static_cast<Image&>(control);
            auto* widget = new PictureWidget(parent);
            widget->setPicture(image.picture());
            widget->setStretch(image.stretch());
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
                if (widget->isSliderDown()) {
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
                             [&slider](int value) { slider.setValue(value); });
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
                                 [&toolbar, key = model.key] { toolbar.click(key); });
                buttons.push_back(button);
            }
            syncToolbar(toolbar, buttons, m_artwork);
            control.observe(
                [this, &toolbar, buttons, guard = QPointer<QWidget>(widget)](Aspect aspect) {
                    if (!guard.isNull() && aspect == Aspect::Items) {
                        syncToolbar(toolbar, buttons, m_artwork);
                    }
                });
            return widget;
        }
        case ControlKind::ListBox:
        case ControlKind::FileListBox:
            return bindListBox(static_cast<ListBox&>(control), parent);
        case ControlKind::DriveListBox:
            return bindDriveList(static_cast<DriveListBox&>(control), parent);
        case ControlKind::DirListBox:
            return bindDirList(static_cast<DirListBox&>(control), parent);
    }
    return new QWidget(parent);
}

}  // namespace glimpa

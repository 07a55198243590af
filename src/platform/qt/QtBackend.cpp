#include "platform/qt/QtBackend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

#include "platform/controls/DirListBox.h"
#include "platform/controls/DriveListBox.h"
#include "platform/controls/ListBox.h"
#include "platform/qt/QtControlBindings.h"
#include "platform/qt/QtGeometry.h"
#include "platform/qt/QtListBindings.h"
#include "platform/qt/widgets/FormWidget.h"

namespace glimpa {

namespace {

/// The character a key press types, for the windows' key preview: letters,
/// digits, punctuation and space, and Enter, Escape and Backspace; 0 for any
/// other key (Tab, Delete, the arrows, function keys) and for a key held with
/// Alt or Ctrl, which is a shortcut (Alt+A presses "Add All"). AltGr, which
/// types characters, is neither.
int characterOf(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
        return 0;
    }
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return '\r';
        case Qt::Key_Escape:
            return 0x1b;
        case Qt::Key_Backspace:
            return '\b';
        default:
            break;
    }
    const QString text = key.text();
    return !text.isEmpty() && text.at(0).isPrint() ? text.at(0).unicode() : 0;
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
                    setShown(guard, control.visible());
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

void QtBackend::setShown(QWidget* widget, bool shown) {
    QWidget* focus = widget->window()->focusWidget();
    const bool hadFocus = focus == widget || widget->isAncestorOf(focus);
    widget->setVisible(shown);
    // A control hidden for a moment (a status shown in its place) keeps the
    // keyboard, unless the user has put the focus elsewhere meanwhile. The
    // focus may pass on through controls hidden in turn.
    if (!shown && hadFocus) {
        if (m_hiddenWithFocus.isNull() || widget != m_focusWentTo) {
            m_hiddenWithFocus = widget;
        }
        m_focusWentTo = widget->window()->focusWidget();
    } else if (shown && widget == m_hiddenWithFocus) {
        if (widget->window()->focusWidget() == m_focusWentTo) {
            widget->setFocus(Qt::OtherFocusReason);
        }
        m_hiddenWithFocus = nullptr;
    }
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
    auto* key = static_cast<QKeyEvent*>(event);
    if (m_keyRepeats.stale(*key, std::chrono::steady_clock::now())) {
        return true;
    }
    Form* form = formOf(watched);
    if (form == nullptr) {
        return false;
    }
    if (key->key() == Qt::Key_F1) {
        m_help.showHelp(form->helpTopic());
        return true;
    }
    const int character = characterOf(*key);
    if (character == 0) {
        return false;
    }
    return form->platformKeyPress(character) == 0;
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
        case ControlKind::ListBox:
        case ControlKind::FileListBox:
            return bindListBox(static_cast<ListBox&>(control), parent);
        case ControlKind::DriveListBox:
            return bindDriveList(static_cast<DriveListBox&>(control), parent);
        case ControlKind::DirListBox:
            return bindDirList(static_cast<DirListBox&>(control), parent);
        default:
            return bindControl(control, parent, m_artwork);
    }
}

}  // namespace glimpa
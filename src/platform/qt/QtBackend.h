#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <unordered_map>

#include "platform/qt/QtArtwork.h"
#include "platform/qt/StaleKeyRepeats.h"
#include "platform/services/Services.h"

namespace glimpa {

class FormWidget;

/// The generic Qt Widgets binding: builds a widget for every control of a
/// form, mirrors each model change into its widget (with the widget's own
/// signals blocked) and turns user input into calls on the models. It knows
/// the control kinds, not the program's windows.
class QtBackend : public QObject, public WindowSystem {
    Q_OBJECT
public:
    explicit QtBackend(HelpViewer& help);
    ~QtBackend() override;

    void attach(Form& form) override;
    void detach(Form& form) override;

    /// The widget bound to a control (nullptr when none); a window that was
    /// not shown yet gets its widgets now.
    QWidget* widgetFor(const Control& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow(Form& form);
    QWidget* build(Control& control, QWidget* parent);
    QWidget* createWidget(Control& control, QWidget* parent);
    void bindCommon(Control& control, QWidget* widget);
    void setShown(QWidget* widget, bool shown);
    Form* formOf(QObject* object) const;

    HelpViewer& m_help;
    QtArtwork m_artwork;
    std::unordered_map<const Control*, QPointer<QWidget>> m_widgets;
    std::unordered_map<const Form*, FormWidget*> m_forms;
    /// Windows whose widgets wait for their first show, with the observer
    /// that waits for it.
    std::unordered_map<const Form*, int> m_pending;
    /// The first window shown: the one the others belong to.
    QPointer<QWidget> m_mainWindow;
    const QEvent* m_lastKey = nullptr;
    QPointer<QObject> m_lastKeyReceiver;
    StaleKeyRepeats m_keyRepeats;
    /// The control hidden while it had the keyboard focus, and where the
    /// focus went then: shown again, it takes the focus back if it is still
    /// there.
    QPointer<QWidget> m_hiddenWithFocus;
    QPointer<QWidget> m_focusWentTo;
};

}  // namespace glimpa

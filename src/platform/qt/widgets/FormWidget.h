#pragma once

#include <QTimer>
#include <QWidget>

#include "platform/controls/Form.h"

namespace glimpa {

/// The top-level widget of a form: mirrors the form's caption, geometry,
/// state and stacking, and reports what the window system and the user do
/// to the window.
class FormWidget : public QWidget {
    Q_OBJECT
public:
    explicit FormWidget(Form& form);

    /// Applies the model's state to the window.
    void sync(Aspect aspect);
    /// The program's main window, above which this window stays where the
    /// window system ignores requests to stay on top.
    void setOwner(QWidget* owner) { m_owner = owner; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    /// Takes or refuses a drag as it enters; Qt holds to that answer while
    /// it moves over the window, so the dragged list is read once, not at
    /// every move.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void applyGeometry();
    void applyState();
    void report();

    Form& m_form;
    QWidget* m_owner = nullptr;
    bool m_applying = false;
    bool m_reporting = false;
    /// The size last asked of the window in answer to its report, and the
    /// size it had then.
    struct Asked {
        QSize size;
        QSize from;
    } m_asked;
    QTimer m_settle;
};

}  // namespace glimpa

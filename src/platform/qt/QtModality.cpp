#include "platform/qt/QtModality.h"

#include <QEvent>
#include <QTimer>
#include <utility>

namespace glimpa {

namespace {

/// Waits, beside its context, for the modal boxes to close.
class ModalBoxWait : public QObject {
public:
    ModalBoxWait(QObject* context, std::function<void()> work)
        : QObject(context), m_work(std::move(work)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowUnblocked) {
            // The box is closing; its work goes on until the event loop is back.
            QTimer::singleShot(0, this, [this] {
                if (QApplication::activeModalWidget() == nullptr && m_work) {
                    std::exchange(m_work, nullptr)();
                    deleteLater();
                }
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_work;
};

}  // namespace

void whenNoModalBox(QObject* context, std::function<void()> work) {
    if (QApplication::activeModalWidget() == nullptr) {
        work();
        return;
    }
    new ModalBoxWait(context, std::move(work));  // owned by the context
}

}  // namespace glimpa

#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

namespace glimpa {

/// Calls a function for each event of one object; the function tells whether
/// the event was consumed. Owned by the object it watches.
class EventHook : public QObject {
public:
    EventHook(QObject* target, std::function<bool(QEvent*)> hook)
        : QObject(target), m_hook(std::move(hook)) {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override { return m_hook(event); }

private:
    std::function<bool(QEvent*)> m_hook;
};

}  // namespace glimpa

#include "platform/qt/QtTimerService.h"

#include "platform/controls/Timer.h"

namespace glimpa {

QtTimerService::~QtTimerService() = default;

void QtTimerService::schedule(Timer& timer, int intervalMs) {
    Slot& slot = m_timers[&timer];
    if (!slot.timer) {
        slot.timer = std::make_unique<QTimer>();
        slot.timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(slot.timer.get(), &QTimer::timeout, [&timer] { timer.fire(); });
    }
    slot.running = true;
    slot.timer->setInterval(intervalMs);
    if (m_suspended == 0) {
        slot.timer->start();
    }
}

void QtTimerService::cancel(Timer& timer) {
    const auto found = m_timers.find(&timer);
    if (found != m_timers.end()) {
        found->second.running = false;
        found->second.timer->stop();
    }
}

void QtTimerService::suspend() {
    if (m_suspended++ == 0) {
        for (auto& [timer, slot] : m_timers) {
            slot.timer->stop();
        }
    }
}

void QtTimerService::resume() {
    if (--m_suspended == 0) {
        for (auto& [timer, slot] : m_timers) {
            if (slot.running) {
                slot.timer->start();
            }
        }
    }
}

}  // namespace glimpa

#include "platform/qt/QtTimerService.h"

#include "platform/Timer.h"

namespace glimpa {

QtTimerService::~QtTimerService() = default;

void QtTimerService::schedule(Timer& timer, int intervalMs) {
    auto& slot = m_timers[&timer];
    if (!slot) {
        slot = std::make_unique<QTimer>();
        slot->setTimerType(Qt::PreciseTimer);
        QObject::connect(slot.get(), &QTimer::timeout, [&timer] { timer.fire(); });
    }
    slot->start(intervalMs);
}

void QtTimerService::cancel(Timer& timer) {
    const auto found = m_timers.find(&timer);
    if (found != m_timers.end()) {
        found->second->stop();
    }
}

}  // namespace glimpa

#pragma once

#include <QTimer>
#include <memory>
#include <unordered_map>

#include "platform/TimerService.h"

namespace glimpa {

/// Runs each timer on a QTimer of the user-interface thread.
class QtTimerService : public TimerService {
public:
    ~QtTimerService() override;
    void schedule(Timer& timer, int intervalMs) override;
    void cancel(Timer& timer) override;

private:
    std::unordered_map<Timer*, std::unique_ptr<QTimer>> m_timers;
};

}  // namespace glimpa

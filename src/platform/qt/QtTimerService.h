#pragma once

#include <QTimer>
#include <memory>
#include <unordered_map>

#include "platform/services/TimerService.h"

namespace glimpa {

/// Runs each timer on a QTimer of the user-interface thread.
class QtTimerService : public TimerService {
public:
    ~QtTimerService() override;
    void schedule(Timer& timer, int intervalMs) override;
    void cancel(Timer& timer) override;
    void suspend() override;
    void resume() override;

private:
    struct Slot {
        std::unique_ptr<QTimer> timer;
        bool running = false;
    };
    std::unordered_map<Timer*, Slot> m_timers;
    int m_suspended = 0;
};

}  // namespace glimpa

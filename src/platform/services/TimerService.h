#pragma once

namespace glimpa {

class Timer;

/// The clock behind the timers: counts a timer's interval from the moment it
/// is scheduled and then calls Timer::fire, again after every interval, until
/// the timer is cancelled or scheduled anew.
class TimerService {
public:
    virtual ~TimerService() = default;
    virtual void schedule(Timer& timer, int intervalMs) = 0;
    virtual void cancel(Timer& timer) = 0;
    /// Holds every timer while a modal message waits for its answer; on the
    /// last resume the running timers start their interval afresh.
    virtual void suspend() = 0;
    virtual void resume() = 0;
};

}  // namespace glimpa

#pragma once

#include <functional>
#include <utility>

namespace glimpa {

/// A control event with one handler: the event procedure of the window that
/// owns the control. Raising an event without a handler does nothing.
template <typename... Args>
class Event {
public:
    void connect(std::function<void(Args...)> handler) { m_handler = std::move(handler); }
    void operator()(Args... args) const {
        if (m_handler) {
            m_handler(std::forward<Args>(args)...);
        }
    }

private:
    std::function<void(Args...)> m_handler;
};

}  // namespace glimpa

#pragma once

#include <string>

#include "platform/services/TimerService.h"

namespace glimpa {

/// Message box styles and answers, as sums of the classic flag values.
namespace msgbox {
inline constexpr int OkOnly = 0;
inline constexpr int YesNoCancel = 3;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int SystemModal = 4096;

/// The program's three kinds of box.
inline constexpr int Warning = OkOnly | Exclamation | SystemModal;
inline constexpr int Notice = OkOnly | Information | SystemModal;
inline constexpr int Confirm = YesNoCancel | Question | SystemModal;

inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace msgbox

/// Modal message boxes and the beep. Text line breaks are carriage returns.
/// Every box goes through show, which holds the program's timers while the
/// box is open: no timer event runs behind a box.
class MessageBoxes {
public:
    explicit MessageBoxes(TimerService& timers) : m_timers(timers) {}
    virtual ~MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    /// Shows the box and waits for the answer (one of the msgbox answers).
    int show(const std::string& text, int style, const std::string& title) {
        m_timers.suspend();
        const int answer = present(text, style, title);
        m_timers.resume();
        return answer;
    }
    virtual void beep() = 0;

protected:
    /// Puts the box on screen and waits for the answer.
    virtual int present(const std::string& text, int style, const std::string& title) = 0;

private:
    TimerService& m_timers;
};

}  // namespace glimpa

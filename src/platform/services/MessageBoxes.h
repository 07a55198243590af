#pragma once

#include <string>

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
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    /// Shows the box and waits for the answer (one of the msgbox answers).
    virtual int show(const std::string& text, int style, const std::string& title) = 0;
    virtual void beep() = 0;
};

}  // namespace glimpa

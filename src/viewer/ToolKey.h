#pragma once

#include <array>
#include <optional>
#include <string>

namespace glimpa {

/// The main window's toolbar commands; the texts are the buttons' keys.
enum class ToolKey { Select, Clear, Trash, TrashAll, StartStop, Show };

inline constexpr std::array<ToolKey, 6> kToolKeys{ToolKey::Select,    ToolKey::Clear,
                                                  ToolKey::Trash,     ToolKey::TrashAll,
                                                  ToolKey::StartStop, ToolKey::Show};

inline std::string keyText(ToolKey key) {
    switch (key) {
        case ToolKey::Select:
            return "Select";
        case ToolKey::Clear:
            return "Clear";
        case ToolKey::Trash:
            return "Trash";
        case ToolKey::TrashAll:
            return "TrashAll";
        case ToolKey::StartStop:
            return "StartStop";
        case ToolKey::Show:
            return "Show";
    }
    return {};
}

/// The command of a key text: exact and case-sensitive, in the order above.
inline std::optional<ToolKey> toolKeyFrom(const std::string& text) {
    for (ToolKey key : kToolKeys) {
        if (keyText(key) == text) {
            return key;
        }
    }
    return std::nullopt;
}

}  // namespace glimpa

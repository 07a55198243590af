#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

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

/// The toolbar's pictures, numbered as in its image list (the first is 1).
enum class ToolPicture { Select = 1, Clear, Trash, TrashAll, Show, Start, Stop };

/// The artwork of each picture, in image-list order.
inline const std::vector<std::string> kToolPictureArtwork{"select", "clear", "trash", "trash-all",
                                                          "show",   "start", "stop"};

inline int pictureNumber(ToolPicture picture) {
    return static_cast<int>(picture);
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

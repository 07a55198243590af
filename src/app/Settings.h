#pragma once

#include <optional>
#include <string>

#include "platform/Twips.h"

namespace glimpa {

class AppContext;

/// The names of the stored settings.
namespace setting {
inline constexpr const char* kImageSelectorLeft = "ImageSelectorLeft";
inline constexpr const char* kImageSelectorTop = "ImageSelectorTop";
inline constexpr const char* kImageSelectorDrive = "ImageSelectorDrive";
inline constexpr const char* kImageSelectorPath = "ImageSelectorPath";
inline constexpr const char* kImageSelectorFiles = "ImageSelectorFiles";
inline constexpr const char* kLineupSelectorLeft = "LineupSelectorLeft";
inline constexpr const char* kLineupSelectorTop = "LineupSelectorTop";
inline constexpr const char* kLineupSelectorWidth = "LineupSelectorWidth";
inline constexpr const char* kLineupSelectorHeight = "LineupSelectorHeight";
}  // namespace setting

/// The program's settings: text values under the program's title and the
/// section "Settings". Numbers are stored as decimal text of twips.
class Settings {
public:
    /// The section that holds them, under the program's title.
    static constexpr const char* kSection = "Settings";

    explicit Settings(AppContext& app) : m_app(app) {}

    /// The stored text, the default when absent, nothing when the stored
    /// value is not text (a step that uses it is skipped).
    std::optional<std::string> get(const std::string& key, const std::string& fallback = {}) const;
    /// The stored number, the default when absent, nothing when the stored
    /// text is not a number.
    std::optional<Twips> getTwips(const std::string& key, Twips fallback) const;
    /// Gives the stored number (or the default) to apply; a stored text that
    /// is not a number gives nothing and the property keeps its value.
    template <typename Apply>
    void restoreTwips(const std::string& key, Twips fallback, Apply apply) const {
        if (const auto value = getTwips(key, fallback)) {
            apply(*value);
        }
    }
    bool save(const std::string& key, const std::string& value);
    bool saveTwips(const std::string& key, Twips value);

private:
    AppContext& m_app;
};

}  // namespace glimpa

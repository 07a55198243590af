#pragma once

#include <optional>
#include <string>

#include "platform/Twips.h"

namespace glimpa {

class AppContext;

/// The program's settings: text values under the program's title and the
/// section "Settings". Numbers are stored as decimal text of twips.
class Settings {
public:
    explicit Settings(AppContext& app) : m_app(app) {}

    std::string get(const std::string& key, const std::string& fallback = {}) const;
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

#include "app/Settings.h"

#include "app/AppContext.h"
#include "platform/Numbers.h"
#include "platform/services/SettingsStore.h"

namespace glimpa {

std::optional<std::string> Settings::get(const std::string& key,
                                         const std::string& fallback) const {
    return m_app.services().settings.get(m_app.title(), kSection, key, fallback);
}

std::optional<Twips> Settings::getTwips(const std::string& key, Twips fallback) const {
    const auto text = get(key, singleToText(fallback));
    return text ? parseSingle(*text) : std::nullopt;
}

bool Settings::save(const std::string& key, const std::string& value) {
    return m_app.services().settings.save(m_app.title(), kSection, key, value);
}

bool Settings::saveTwips(const std::string& key, Twips value) {
    return save(key, singleToText(value));
}

}  // namespace glimpa

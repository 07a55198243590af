#pragma once

#include <optional>
#include <string>

namespace glimpa {

/// Per-user text values that survive between runs, addressed by application
/// name, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    /// The stored text (its bytes as they were saved), the default when the
    /// value is absent, nothing when the stored value is not text.
    virtual std::optional<std::string> get(const std::string& application,
                                           const std::string& section, const std::string& key,
                                           const std::string& fallback) = 0;
    /// Creates or replaces the value, pending until the next flush; false
    /// when it could not be saved.
    virtual bool save(const std::string& application, const std::string& section,
                      const std::string& key, const std::string& value) = 0;
    /// Puts every pending value into lasting storage at once: after any
    /// interruption the stored settings are all the old ones or all the new.
    virtual void flush() {}
};

}  // namespace glimpa

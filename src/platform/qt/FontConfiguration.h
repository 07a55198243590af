#pragma once

#include <fontconfig/fontconfig.h>

#include <memory>

namespace glimpa {

struct FontConfigurationDeleter {
    void operator()(FcConfig* configuration) const { FcConfigDestroy(configuration); }
};
using FontConfigurationPtr = std::unique_ptr<FcConfig, FontConfigurationDeleter>;

/// The system's font configuration with its fonts, read as fontconfig's own
/// initialisation reads it but without also parsing every available but
/// disabled configuration file for its description: half the work, and
/// nothing here lists them. Null when the configuration is unusual
/// (unreadable, or naming no cache folder, for which fontconfig adds its
/// defaults). `file` names another main configuration file than the
/// system's.
FontConfigurationPtr readFontConfiguration(const char* file = nullptr);

/// Makes that fontconfig's current configuration, or else lets fontconfig
/// read its own. Call it before anything else in the process uses
/// fontconfig: it replaces a configuration already read.
void loadFontConfiguration();

}  // namespace glimpa

#include "platform/qt/FontConfiguration.h"

namespace glimpa {

namespace {

bool namesCacheFolders(FcConfig* configuration) {
    FcStrList* folders = FcConfigGetCacheDirs(configuration);
    if (folders == nullptr) {
        return false;
    }
    const bool any = FcStrListNext(folders) != nullptr;
    FcStrListDone(folders);
    return any;
}

}  // namespace

FontConfigurationPtr readFontConfiguration(const char* file) {
    FontConfigurationPtr configuration(FcConfigCreate());
    if (configuration == nullptr ||
        FcConfigParseAndLoad(configuration.get(), reinterpret_cast<const FcChar8*>(file), FcTrue) ==
            FcFalse ||
        !namesCacheFolders(configuration.get()) ||
        FcConfigBuildFonts(configuration.get()) == FcFalse) {
        return nullptr;
    }
    return configuration;
}

void loadFontConfiguration() {
    // The current configuration takes a reference of its own.
    const FontConfigurationPtr configuration = readFontConfiguration();
    if (configuration == nullptr || FcConfigSetCurrent(configuration.get()) == FcFalse) {
        FcInit();
    }
}

}  // namespace glimpa

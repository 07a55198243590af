#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "pictures/ImageFiles.h"
#include "platform/qt/FontConfiguration.h"

namespace glimpa {
namespace {

/// What a configuration makes of a font request: the whole matched pattern,
/// file, hinting and antialiasing included.
std::string bestMatch(FcConfig* configuration, const char* request) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(request));
    FcConfigSubstitute(configuration, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(configuration, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return "no match";
    }
    FcChar8* text = FcNameUnparse(match);
    std::string unparsed(reinterpret_cast<const char*>(text));
    FcStrFree(text);
    FcPatternDestroy(match);
    return unparsed;
}

TEST(FontConfiguration, AnswersEveryRequestAsFontconfigsOwnReading) {
    const FontConfigurationPtr ours = readFontConfiguration();
    ASSERT_NE(ours, nullptr);
    const FontConfigurationPtr theirs(FcInitLoadConfigAndFonts());
    ASSERT_NE(theirs, nullptr);

    EXPECT_EQ(FcConfigGetFonts(ours.get(), FcSetSystem)->nfont,
              FcConfigGetFonts(theirs.get(), FcSetSystem)->nfont);
    for (const char* request :
         {"sans-serif", "serif", "monospace", "Sans Serif:weight=200", "DejaVu Sans:slant=100",
          "Helvetica", "Arial:pixelsize=9", "Times New Roman:bold", "Courier", "emoji"}) {
        SCOPED_TRACE(request);
        EXPECT_EQ(bestMatch(ours.get(), request), bestMatch(theirs.get(), request));
    }
}

/// A main configuration file of the test's own.
class ConfigurationFile : public testing::Test {
protected:
    const char* with(const std::string& body) {
        std::ofstream(m_path) << "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                              << body << "</fontconfig>\n";
        return m_path.c_str();
    }

    test::TempFolder m_folder;
    std::string m_path = m_folder.file("fonts.conf");
};

TEST_F(ConfigurationFile, WithoutACacheFolderIsLeftToFontconfigItself) {
    EXPECT_EQ(readFontConfiguration(with("<dir>/usr/share/fonts</dir>\n")), nullptr);
    EXPECT_NE(readFontConfiguration(with("<dir>/usr/share/fonts</dir>\n<cachedir>" +
                                         m_folder.file("cache") + "</cachedir>\n")),
              nullptr);
}

TEST_F(ConfigurationFile, ThatCannotBeReadIsLeftToFontconfigItself) {
    EXPECT_EQ(readFontConfiguration(with("<cachedir>/tmp</cachedir>\n<unclosed>\n")), nullptr);
    EXPECT_EQ(readFontConfiguration(m_folder.file("missing.conf").c_str()), nullptr);
}

}  // namespace
}  // namespace glimpa

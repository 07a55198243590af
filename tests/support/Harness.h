#pragma once

#include "app/AppContext.h"
#include "app/Settings.h"
#include "pictures/Files.h"
#include "support/FakeServiceSet.h"

namespace glimpa::test {

/// A fresh program for one test: fake services, a decoder that knows
/// pictures by path, and the application context over them, with no windows
/// on screen.
struct Harness : FakeServiceSet {
    FakeDecoder decoder;
    FakeEnvironment environment;
    NoWindowSystem windows;
    AppContext app{
        Services{messages, settings, clock, pointer, process, help, decoder, environment, windows}};

    /// A file the decoder knows as a picture of this size.
    void makePicture(const std::string& path, int width, int height) {
        writeBytes(path, "");
        decoder.picture(path, width, height);
    }
    /// Stores a setting as the program would find it.
    void store(const std::string& key, const std::string& value) {
        settings.values[{kProgramTitle, Settings::kSection, key}] = value;
    }
    std::string stored(const std::string& key) const {
        const auto found = settings.values.find({kProgramTitle, Settings::kSection, key});
        return found != settings.values.end() ? found->second : "<absent>";
    }
};

}  // namespace glimpa::test

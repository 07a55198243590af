#pragma once

#include "app/AppContext.h"
#include "support/FakeServiceSet.h"

namespace glimpa::test {

/// A fresh program for one test: fake services, the real picture decoder,
/// and the application context over them, with no windows on screen.
struct Harness : FakeServiceSet {
    FakeEnvironment environment;
    NoWindowSystem windows;
    AppContext app{
        Services{messages, settings, clock, pointer, process, help, decoder, environment, windows}};

    /// Stores a setting as the program would find it.
    void store(const std::string& key, const std::string& value) {
        settings.values[{"GLIMPA", "Settings", key}] = value;
    }
    std::string stored(const std::string& key) const {
        const auto found = settings.values.find({"GLIMPA", "Settings", key});
        return found != settings.values.end() ? found->second : "<absent>";
    }
};

}  // namespace glimpa::test

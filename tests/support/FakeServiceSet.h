#pragma once

#include "support/Fakes.h"
#include "support/ManualClock.h"

namespace glimpa::test {

/// The services every test program shares: scripted message boxes, a manual
/// clock, an in-memory settings store, recording pointer, process and help.
struct FakeServiceSet {
    ManualClock clock;
    ScriptedMessageBoxes messages{clock};
    MemorySettingsStore settings;
    FakePointer pointer;
    FakeProcess process;
    FakeHelp help;
};

}  // namespace glimpa::test

#pragma once

#include "platform/qt/QtImageDecoder.h"
#include "support/Fakes.h"
#include "support/ManualClock.h"

namespace glimpa::test {

/// The services every test program shares: scripted message boxes, a manual
/// clock, an in-memory settings store, recording pointer, process and help,
/// and the real picture decoder.
struct FakeServiceSet {
    ManualClock clock;
    ScriptedMessageBoxes messages;
    MemorySettingsStore settings;
    FakePointer pointer;
    FakeProcess process;
    FakeHelp help;
    QtImageDecoder decoder;
};

}  // namespace glimpa::test

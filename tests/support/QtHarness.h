#pragma once

#include "app/AppContext.h"
#include "decoding/PictureDecoder.h"
#include "pictures/ImageFiles.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/widgets/PictureWidget.h"
#include "support/FakeServiceSet.h"

namespace glimpa::test {

/// The program bound to real Qt widgets (offscreen), with the real decoder,
/// scripted message boxes, a manual clock and an in-memory settings store.
struct QtHarness : FakeServiceSet {
    PictureDecoder decoder{&PictureWidget::updateAllSoon};
    QtEnvironment environment;
    QtBackend backend{help};
    AppContext app{
        Services{messages, settings, clock, pointer, process, help, decoder, environment, backend}};

    /// A real JPEG of this size.
    static void makePicture(const std::string& path, int width, int height) {
        writeJpeg(path, width, height);
    }
};

}  // namespace glimpa::test

#include "platform/qt/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QStringList>

namespace glimpa {

FontWarmUp::FontWarmUp()
    : m_thread([started = m_started.get_future()]() mutable {
          FcInit();
          started.wait();
          QFontDatabase::families();
      }) {}

FontWarmUp::~FontWarmUp() {
    if (!m_told) {
        m_started.set_value();
    }
    m_thread.join();
}

void FontWarmUp::applicationStarted() {
    if (!m_told) {
        m_told = true;
        m_started.set_value();
    }
}

}  // namespace glimpa

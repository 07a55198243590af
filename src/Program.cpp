#include "Program.h"

namespace glimpa {

Program::Program(QString settingsFolder)
    : m_settings(std::move(settingsFolder)),
      m_windows(m_help),
      m_app(Services{m_messages, m_settings, m_timers, m_pointer, m_process, m_help, m_decoder,
                     m_environment, m_windows}) {}

Program::~Program() = default;

}  // namespace glimpa

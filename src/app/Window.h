#pragma once

#include <string>

#include "platform/controls/Form.h"

namespace glimpa {

class AppContext;

/// Base of the program's windows: the window's form and the two events that
/// the application context runs, load and unload.
class Window {
public:
    Window(AppContext& app, std::string name) : m_app(app), m_form(std::move(name)) {}
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Form& form() { return m_form; }

    virtual void Form_Load() {}
    /// Setting cancel to a non-zero value refuses the unload.
    virtual void Form_Unload(int& cancel) { (void)cancel; }

protected:
    AppContext& m_app;
    Form m_form;
};

}  // namespace glimpa

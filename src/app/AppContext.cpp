#include "app/AppContext.h"

#include "image_selector/frmImageSelector.h"
#include "lineup_selector/frmLineupSelector.h"
#include "platform/services/MessageBoxes.h"
#include "platform/services/SettingsStore.h"
#include "platform/services/TimerService.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

AppContext::AppContext(Services services) : m_services(services) {}

AppContext::~AppContext() {
    // Widgets go before the models they show.
    for (Window* window :
         {static_cast<Window*>(m_imageViewer.get()), static_cast<Window*>(m_imageSelector.get()),
          static_cast<Window*>(m_lineupSelector.get())}) {
        if (window != nullptr) {
            m_services.windows.detach(window->form());
        }
    }
    for (auto& window : m_unloaded) {
        m_services.windows.detach(window->form());
    }
    m_imageSelector.reset();
    m_lineupSelector.reset();
    m_imageViewer.reset();
    m_unloaded.clear();
}

std::string AppContext::helpFilePath() {
    auto& environment = m_services.environment;
    return environment.applicationFolder() + environment.pathSeparator() + "HELPFILE.HLP";
}

template <typename W>
W& AppContext::reference(std::unique_ptr<W>& slot) {
    if (!slot) {
        slot = std::make_unique<W>(*this);
        W* window = slot.get();
        Form& form = window->form();
        form.setWorkArea(m_services.environment.workArea());
        form.setUnloadRequestHandler([this, window] { return unloadWindow(*window); });
        m_services.windows.attach(form);
        window->Form_Load();
    }
    return *slot;
}

glimpa::frmImageViewer& AppContext::frmImageViewer() {
    return reference(m_imageViewer);
}

glimpa::frmImageSelector& AppContext::frmImageSelector() {
    return reference(m_imageSelector);
}

glimpa::frmLineupSelector& AppContext::frmLineupSelector() {
    return reference(m_lineupSelector);
}

Window* AppContext::loaded(WindowId id) const {
    switch (id) {
        case WindowId::ImageViewer:
            return m_imageViewer.get();
        case WindowId::ImageSelector:
            return m_imageSelector.get();
        case WindowId::LineupSelector:
            return m_lineupSelector.get();
    }
    return nullptr;
}

bool AppContext::isLoaded(WindowId id) const {
    return loaded(id) != nullptr;
}

void AppContext::Unload(WindowId id) {
    if (Window* window = loaded(id)) {
        window->form().requestUnload();
    }
}

bool AppContext::unloadWindow(Window& window) {
    int cancel = 0;
    window.Form_Unload(cancel);
    if (cancel != 0) {
        return false;
    }
    window.form().hide();
    // The object stays alive until the context goes: its handlers may still be
    // on the stack (the main window's close runs inside its own event).
    auto release = [&](auto& slot) {
        if (slot.get() == &window) {
            m_unloaded.push_back(std::move(slot));
        }
    };
    release(m_imageViewer);
    release(m_imageSelector);
    release(m_lineupSelector);
    if (!m_imageViewer && !m_imageSelector && !m_lineupSelector) {
        // The windows have saved what they keep: one write for all of it.
        m_services.settings.flush();
        m_services.process.quit();
    }
    return true;
}

void AppContext::End() {
    m_services.process.end();
}

int AppContext::MsgBox(const std::string& text, int style) {
    return m_services.messages.show(text, style, title());
}

void KeepOnTop(Form& window, std::int16_t flag) {
    window.setTopmost(flag != 0);
}

}  // namespace glimpa

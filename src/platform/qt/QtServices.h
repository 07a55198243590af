#pragma once

#include <QLocale>
#include "platform/services/MessageBoxes.h"
#include "platform/services/Services.h"

#include <memory>

namespace glimpa {

class HelpWindow;

/// Message boxes and the beep through QMessageBox.
class QtMessageBoxes : public MessageBoxes {
public:
    using MessageBoxes::MessageBoxes;
    void beep() override;

protected:
    int present(const std::string& text, int style, const std::string& title) override;
};

/// The busy pointer as an application-wide override cursor.
class QtMousePointer final : public MousePointer {
public:
    ~QtMousePointer() override;
    void setBusy(bool busy) override;

private:
    bool m_busy = false;
};

class QtProcessControl : public ProcessControl {
public:
    void end() override;
    void quit() override;
};

/// Shows the help file in the program's own help window, or says clearly
/// that it is missing.
class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(MessageBoxes& messages);
    ~QtHelpViewer() override;
    void setHelpFile(const std::string& path) override { m_path = path; }
    void showHelp(const std::string& topic) override;
    const std::string& helpFile() const { return m_path; }
    /// The help window once it has been opened.
    HelpWindow* window() const { return m_window.get(); }

private:
    MessageBoxes& m_messages;
    std::string m_path;
    std::unique_ptr<HelpWindow> m_window;
};

class QtEnvironment : public Environment {
public:
    std::string applicationFolder() override;
    char pathSeparator() override;
    TwipsRect workArea() override;
    Picture artwork(const std::string& name) override;
    std::vector<TwipsRect> screens() override;
    std::vector<std::string> drives() override;
    /// Locale-aware, numbers by their value, without regard to case.
    NameSorter nameSorter() override;
    /// The same in the given language.
    static NameSorter nameSorter(const QLocale& locale);
};

}  // namespace glimpa

#pragma once

#include "platform/MessageBoxes.h"
#include "platform/Services.h"

namespace glimpa {

/// Message boxes and the beep through QMessageBox.
class QtMessageBoxes : public MessageBoxes {
public:
    int show(const std::string& text, int style, const std::string& title) override;
    void beep() override;
};

/// The busy pointer as an application-wide override cursor.
class QtMousePointer : public MousePointer {
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

/// Opens the help file with the desktop's viewer for its type.
class QtHelpViewer : public HelpViewer {
public:
    void setHelpFile(const std::string& path) override { m_path = path; }
    void showHelp() override;
    const std::string& helpFile() const { return m_path; }

private:
    std::string m_path;
};

class QtEnvironment : public Environment {
public:
    std::string applicationFolder() override;
    char pathSeparator() override;
    TwipsRect workArea() override;
    Picture artwork(const std::string& name) override;
    std::vector<TwipsRect> screens() override;
    std::vector<std::string> drives() override;
};

}  // namespace glimpa

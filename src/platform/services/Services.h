#pragma once

#include <string>
#include <vector>

#include "platform/controls/Form.h"
#include "platform/files/FileNames.h"
#include "platform/services/Picture.h"

namespace glimpa {

class MessageBoxes;
class SettingsStore;
class TimerService;
class ImageDecoder;

/// The mouse pointer of the whole screen.
class MousePointer {
public:
    virtual ~MousePointer() = default;
    virtual void setBusy(bool busy) = 0;
};

/// How the program ends.
class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    /// Ends the process at once: no unload handling, nothing saved.
    virtual void end() = 0;
    /// The last window has gone: leave the event loop normally.
    virtual void quit() = 0;
};

/// Opens the program's help file.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void setHelpFile(const std::string& path) = 0;
    /// Opens the help at the section with this anchor ("" for its top).
    virtual void showHelp(const std::string& topic) = 0;
};

/// Facts about the machine and the program's place on it.
class Environment {
public:
    virtual ~Environment() = default;
    /// The folder that holds the program's executable, as the platform gives it.
    virtual std::string applicationFolder() = 0;
    virtual char pathSeparator() = 0;
    /// The part of the primary screen that windows may cover.
    virtual TwipsRect workArea() = 0;
    /// The program's own artwork as a picture (the logo).
    virtual Picture artwork(const std::string& name) = 0;
    /// Every screen's area; the primary screen first.
    virtual std::vector<TwipsRect> screens() = 0;
    /// The mounted file systems that hold user files (their mount points).
    virtual std::vector<std::string> drives() = 0;
    /// The order in which the platform's file dialogs list names.
    virtual NameSorter nameSorter() { return sortNaturally; }
};

/// Gives each window a presence in the window system (the Qt backend builds
/// and binds its widgets; headless, nothing).
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    /// A window has been created with all its controls, before it is loaded.
    virtual void attach(Form& form) = 0;
    /// The window is about to be destroyed.
    virtual void detach(Form& form) = 0;
};

/// Every service the windows use, passed by reference through the
/// application context.
struct Services {
    MessageBoxes& messages;
    SettingsStore& settings;
    TimerService& timers;
    MousePointer& pointer;
    ProcessControl& process;
    HelpViewer& help;
    ImageDecoder& decoder;
    Environment& environment;
    WindowSystem& windows;
};

}  // namespace glimpa

#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/services/ImageDecoder.h"
#include "platform/services/MessageBoxes.h"
#include "platform/services/Services.h"
#include "platform/services/SettingsStore.h"

namespace glimpa::test {

/// Message boxes that answer from a script and record every prompt and beep.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    using MessageBoxes::MessageBoxes;

    struct Prompt {
        std::string text;
        int style;
        std::string title;
    };

    /// Queues the answers of the next boxes; a box without a queued answer
    /// answers Cancel (or OK for a box with only OK).
    void answer(std::initializer_list<int> answers) { m_answers.insert(m_answers.end(), answers); }
    /// Runs while the next boxes are open (as a modal box's event loop would).
    void whileOpen(std::function<void()> action) { m_whileOpen = std::move(action); }

    void beep() override { log.push_back("beep"); }

    std::vector<Prompt> prompts;
    /// "beep" and "box:<text>" in the order they happened.
    std::vector<std::string> log;

protected:
    int present(const std::string& text, int style, const std::string& title) override;

private:
    std::deque<int> m_answers;
    std::function<void()> m_whileOpen;
};

/// A settings store in memory; keys in failingKeys refuse to be saved.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> get(const std::string& application, const std::string& section,
                                   const std::string& key, const std::string& fallback) override;
    bool save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override;

    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::set<std::string> failingKeys;
    /// Keys whose stored value is not text (a list, say).
    std::set<std::string> notText;
    void flush() override {
        ++flushes;
        savedAtFlush = saved.size();
    }

    /// Keys in the order they were saved.
    std::vector<std::string> saved;
    int flushes = 0;
    /// How many keys had been saved at the last flush.
    std::size_t savedAtFlush = 0;
};

class FakePointer : public MousePointer {
public:
    void setBusy(bool on) override {
        busy = on;
        changes.push_back(on);
    }
    bool busy = false;
    std::vector<bool> changes;
};

class FakeProcess : public ProcessControl {
public:
    void end() override { ++ended; }
    void quit() override { ++quitted; }
    int ended = 0;
    int quitted = 0;
};

class FakeHelp : public HelpViewer {
public:
    void setHelpFile(const std::string& path) override { helpFile = path; }
    void showHelp(const std::string& topic) override { topics.push_back(topic); }
    std::string helpFile;
    std::vector<std::string> topics;
};

/// A picture of a given size with no pixels.
class BlankPicture : public PictureData {
public:
    BlankPicture(int width, int height) : m_width(width), m_height(height) {}
    int widthPx() const override { return m_width; }
    int heightPx() const override { return m_height; }

private:
    int m_width;
    int m_height;
};

/// A decoder that knows pictures by path: each path given a size decodes to
/// a blank picture of that size; any other path fails. It counts its work.
class FakeDecoder : public ImageDecoder {
public:
    void picture(const std::string& path, int width, int height) { sizes[path] = {width, height}; }
    DecodeResult decode(const std::string& path, DisplayHint hint) override;
    bool isPicture(const std::string& path) override { return sizes.contains(path); }
    void prefetch(const std::vector<std::string>& paths, DisplayHint hint) override {
        prefetched = paths;
        prefetchHint = hint;
        ++prefetches;
    }

    std::map<std::string, std::pair<int, int>> sizes;
    /// Every path asked for, in order, and the hint of the last decode.
    std::vector<std::string> decoded;
    DisplayHint lastHint;
    /// The paths and hint of the last prefetch, and how many there were.
    std::vector<std::string> prefetched;
    DisplayHint prefetchHint;
    int prefetches = 0;
};

class FakeEnvironment : public Environment {
public:
    std::string applicationFolder() override { return folder; }
    char pathSeparator() override { return '/'; }
    TwipsRect workArea() override { return area; }
    Picture artwork(const std::string& name) override;
    std::vector<TwipsRect> screens() override { return {area}; }
    std::vector<std::string> drives() override { return mounts; }

    std::string folder = "/opt/glimpa";
    TwipsRect area{0, 0, 19200, 10800};
    std::vector<std::string> mounts{"/"};
};

class NoWindowSystem : public WindowSystem {
public:
    void attach(Form& /*form*/) override {}
    void detach(Form& /*form*/) override {}
};

}  // namespace glimpa::test

#include "support/Fakes.h"

#include <memory>

namespace glimpa::test {

int ScriptedMessageBoxes::present(const std::string& text, int style, const std::string& title) {
    prompts.push_back({text, style, title});
    log.push_back("box:" + text);
    if (m_whileOpen) {
        m_whileOpen();
    }
    if (!m_answers.empty()) {
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return (style & 0x0f) == msgbox::OkOnly ? msgbox::Ok : msgbox::Cancel;
}

std::optional<std::string> MemorySettingsStore::get(const std::string& application,
                                                    const std::string& section,
                                                    const std::string& key,
                                                    const std::string& fallback) {
    if (notText.contains(key)) {
        return std::nullopt;
    }
    const auto found = values.find({application, section, key});
    return found != values.end() ? found->second : fallback;
}

bool MemorySettingsStore::save(const std::string& application, const std::string& section,
                               const std::string& key, const std::string& value) {
    if (failingKeys.contains(key)) {
        return false;
    }
    values[{application, section, key}] = value;
    saved.push_back(key);
    return true;
}

DecodeResult FakeDecoder::decode(const std::string& path, DisplayHint hint) {
    decoded.push_back(path);
    lastHint = hint;
    const auto found = sizes.find(path);
    if (found == sizes.end()) {
        return {nullptr, "not a picture"};
    }
    return {std::make_shared<BlankPicture>(found->second.first, found->second.second), {}};
}

Picture FakeEnvironment::artwork(const std::string& name) {
    return std::make_shared<BlankPicture>(name == "logo" ? 226 : 32, name == "logo" ? 226 : 32);
}

}  // namespace glimpa::test

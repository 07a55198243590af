#pragma once

#include <QSettings>
#include <QString>
#include <map>
#include <memory>
#include <optional>

#include "platform/services/SettingsStore.h"

namespace glimpa {

/// Settings in the user's configuration folder, one INI-style file per
/// application name. A file that cannot be parsed is treated as empty when
/// read; the first save moves it aside (kept beside it, named as damaged)
/// and starts a fresh one. Text that is not UTF-8 (a folder's name in
/// another encoding) is kept byte for byte.
class QtSettingsStore : public SettingsStore {
public:
    /// folder: where the files live; empty for the platform's user settings folder.
    explicit QtSettingsStore(QString folder = {});

    std::optional<std::string> get(const std::string& application, const std::string& section,
                                   const std::string& key, const std::string& fallback) override;
    bool save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override;
    void flush() override;

private:
    /// The file to read and write; nothing when what stands at its place is
    /// not a regular file (or a link to one).
    std::optional<QString> fileFor(const std::string& application) const;
    /// The application's settings, read from its file once and kept with
    /// what is pending; nullptr when its file cannot be used.
    QSettings* storeFor(const std::string& application, bool writing);

    QString m_folder;
    std::map<std::string, std::unique_ptr<QSettings>> m_open;
};

}  // namespace glimpa

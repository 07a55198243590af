#include "platform/qt/QtSettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <optional>

namespace glimpa {

QtSettingsStore::QtSettingsStore(QString folder) : m_folder(std::move(folder)) {
    if (m_folder.isEmpty()) {
        m_folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }
}

std::optional<QString> QtSettingsStore::fileFor(const std::string& application) const {
    const QString path = QDir(m_folder).filePath(QString::fromStdString(application) + "/" +
                                                 QString::fromStdString(application) + ".conf");
    const QFileInfo file(path);
    if (file.isSymLink()) {
        // A link (a user's managed dotfiles) is followed to a regular file
        // only: that file is written, the link stays.
        const QFileInfo target(file.symLinkTarget());
        return target.isFile() ? std::optional(target.canonicalFilePath()) : std::nullopt;
    }
    // A pipe, device, socket or folder in the file's place is neither read
    // (a pipe would block) nor written through.
    if (file.exists() && !file.isFile()) {
        return std::nullopt;
    }
    return path;
}

QSettings* QtSettingsStore::storeFor(const std::string& application, bool writing) {
    const auto file = fileFor(application);
    if (!file) {
        return nullptr;
    }
    std::unique_ptr<QSettings>& store = m_open[application];
    if (!store) {
        store = std::make_unique<QSettings>(*file, QSettings::IniFormat);
        store->allKeys();  // reads the file, so that the status tells whether it could be
    }
    if (writing && store->status() == QSettings::FormatError) {
        // A file that cannot be read would refuse every save from now on:
        // keep it for the user, under a name that says why, and start anew.
        store.reset();
        const QString aside = *file + QDateTime::currentDateTime().toString(
                                          QStringLiteral(".'damaged'-yyyyMMdd-hhmmss"));
        if (!QFile::rename(*file, aside)) {
            return nullptr;
        }
        store = std::make_unique<QSettings>(*file, QSettings::IniFormat);
    }
    return store->status() == QSettings::NoError ? store.get() : nullptr;
}

std::optional<std::string> QtSettingsStore::get(const std::string& application,
                                                const std::string& section, const std::string& key,
                                                const std::string& fallback) {
    QSettings* store = storeFor(application, false);
    if (store == nullptr) {
        return fallback;
    }
    const QVariant value = store->value(QString::fromStdString(section + "/" + key));
    switch (value.userType()) {
        case QMetaType::UnknownType:
            return fallback;
        case QMetaType::QString:
            return value.toString().toStdString();
        case QMetaType::QByteArray:
            return value.toByteArray().toStdString();
        default:
            return std::nullopt;
    }
}

bool QtSettingsStore::save(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) {
    QSettings* store = storeFor(application, true);
    if (store == nullptr) {
        return false;
    }
    const QByteArray bytes = QByteArray::fromStdString(value);
    const QString text = QString::fromUtf8(bytes);
    const QString name = QString::fromStdString(section + "/" + key);
    if (text.toUtf8() == bytes) {
        store->setValue(name, text);
    } else {
        store->setValue(name, bytes);
    }
    return true;
}

void QtSettingsStore::flush() {
    // QSettings writes a whole file at once, to a new file put in its place.
    for (auto& [application, store] : m_open) {
        if (store) {
            store->sync();
        }
    }
}

}  // namespace glimpa

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

std::optional<std::string> QtSettingsStore::get(const std::string& application,
                                                const std::string& section, const std::string& key,
                                                const std::string& fallback) {
    const auto file = fileFor(application);
    if (!file) {
        return fallback;
    }
    QSettings store(*file, QSettings::IniFormat);
    if (store.status() != QSettings::NoError) {
        return fallback;
    }
    const QVariant value = store.value(QString::fromStdString(section + "/" + key));
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
    const auto usable = fileFor(application);
    if (!usable) {
        return false;
    }
    const QString& file = *usable;
    std::optional<QSettings> store;
    store.emplace(file, QSettings::IniFormat);
    store->allKeys();  // reads the file, so that the status tells whether it could be
    if (store->status() == QSettings::FormatError) {
        // A file that cannot be read would refuse every save from now on:
        // keep it for the user, under a name that says why, and start anew.
        store.reset();
        const QString aside = file + QDateTime::currentDateTime().toString(
                                         QStringLiteral(".'damaged'-yyyyMMdd-hhmmss"));
        if (!QFile::rename(file, aside)) {
            return false;
        }
        store.emplace(file, QSettings::IniFormat);
    }
    if (store->status() != QSettings::NoError) {
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
    store->sync();
    return store->status() == QSettings::NoError;
}

}  // namespace glimpa

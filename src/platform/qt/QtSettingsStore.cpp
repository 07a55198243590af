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

QString QtSettingsStore::fileFor(const std::string& application) const {
    return QDir(m_folder).filePath(QString::fromStdString(application) + "/" +
                                   QString::fromStdString(application) + ".conf");
}

std::optional<std::string> QtSettingsStore::get(const std::string& application,
                                                const std::string& section, const std::string& key,
                                                const std::string& fallback) {
    QSettings store(fileFor(application), QSettings::IniFormat);
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
    const QString file = fileFor(application);
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

#include "platform/qt/QtSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

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

std::string QtSettingsStore::get(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& fallback) {
    QSettings store(fileFor(application), QSettings::IniFormat);
    if (store.status() != QSettings::NoError) {
        return fallback;
    }
    const QVariant value = store.value(QString::fromStdString(section + "/" + key));
    if (!value.isValid() || value.userType() != QMetaType::QString) {
        return fallback;
    }
    return value.toString().toStdString();
}

bool QtSettingsStore::save(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) {
    QSettings store(fileFor(application), QSettings::IniFormat);
    if (store.status() != QSettings::NoError) {
        return false;
    }
    store.setValue(QString::fromStdString(section + "/" + key), QString::fromStdString(value));
    store.sync();
    return store.status() == QSettings::NoError;
}

}  // namespace glimpa

#include "settings/settingsstore.h"

#include "settings/settingslocation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace huddlex {

namespace {
const QString group = QStringLiteral("Settings");

QString executableBaseName() {
    const QString path = QCoreApplication::applicationFilePath();
    const QString base = QFileInfo(path).completeBaseName();
    return base.isEmpty() ? QStringLiteral("huddlex") : base;
}
} // namespace

NativeSettingsStore::NativeSettingsStore(QString applicationName)
    : name_(applicationName.isEmpty() ? executableBaseName() : std::move(applicationName)) {}

QString NativeSettingsStore::fileName() const {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     settingsLocation(name_).organisation, name_)
        .fileName();
}

QString NativeSettingsStore::read(const QString& key,
                                  const std::optional<QString>& fallback) const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       settingsLocation(name_).organisation, name_);
    // A file edited into something unreadable yields the defaults; it is left as it is.
    if (settings.status() != QSettings::NoError)
        return fallback.value_or(QString());
    settings.beginGroup(group);
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return fallback.value_or(QString());
    return value.toString();
}

void NativeSettingsStore::write(const QString& key, const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       settingsLocation(name_).organisation, name_);
    settings.beginGroup(group);
    settings.setValue(key, value);
}

QString MemorySettingsStore::read(const QString& key,
                                  const std::optional<QString>& fallback) const {
    auto it = values_.constFind(key);
    if (it == values_.constEnd())
        return fallback.value_or(QString());
    return *it;
}

void MemorySettingsStore::write(const QString& key, const QString& value) {
    values_.insert(key, value);
    ++writes_;
}

bool captureSwitchOn(const SettingsStore& store, const QString& key) {
    bool isNumber = false;
    const int value = store.read(key, defaults::CapFlag).trimmed().toInt(&isNumber);
    return isNumber && value == 1;
}

} // namespace huddlex

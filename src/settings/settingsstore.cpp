#include "settings/settingsstore.h"

#include "settings/inifilecheck.h"
#include "settings/settingslocation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <memory>

namespace huddlex {

namespace {
const QString group = QStringLiteral("Settings");

QString executableBaseName() {
    const QString path = QCoreApplication::applicationFilePath();
    const QString base = QFileInfo(path).completeBaseName();
    return base.isEmpty() ? QStringLiteral("huddlex") : base;
}

// The one place the store is opened, so where it lives is decided here alone.
std::unique_ptr<QSettings> openSettings(const QString& name) {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       settingsLocation(name).organisation, name);
}

// Whether a settings file is malformed, looked at again only when it changes. Qt reports a
// broken file only to the first QSettings of a process and serves what it could parse to every
// later one, so the program keeps its own verdict for the whole session.
class FileVerdicts {
public:
    bool isMalformed(const QString& fileName) {
        const QFileInfo info(fileName);
        if (!info.isFile())
            return false; // no file (or the registry): nothing to distrust
        Verdict& verdict = verdicts_[fileName];
        const QDateTime modified = info.lastModified();
        if (!verdict.checked || verdict.size != info.size() || verdict.modified != modified) {
            QFile file(fileName);
            verdict.malformed =
                file.open(QIODevice::ReadOnly) ? !isWellFormedIni(file.readAll()) : false;
            verdict.size = info.size();
            verdict.modified = modified;
            verdict.checked = true;
        }
        return verdict.malformed;
    }

private:
    struct Verdict {
        bool checked = false;
        bool malformed = false;
        qint64 size = -1;
        QDateTime modified;
    };
    QHash<QString, Verdict> verdicts_;
};

FileVerdicts& verdicts() {
    static FileVerdicts instance;
    return instance;
}

// "huddlex.conf.bad", or the first free "huddlex.conf.bad2", "...bad3" when earlier ones are
// there: nothing kept aside is ever replaced.
QString asideName(const QString& fileName) {
    QString candidate = fileName + QStringLiteral(".bad");
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = fileName + QStringLiteral(".bad%1").arg(n);
    return candidate;
}
} // namespace

bool SettingsStore::contains(const QString& key) const {
    // A present key reads the same whatever the fallback; an absent one gives the fallback.
    const QString a = QStringLiteral("\x01absent-a"), b = QStringLiteral("\x01absent-b");
    return read(key, a) != a || read(key, b) != b;
}

NativeSettingsStore::NativeSettingsStore(QString applicationName)
    : name_(applicationName.isEmpty() ? executableBaseName() : std::move(applicationName)) {}

QString NativeSettingsStore::fileName() const {
    return openSettings(name_)->fileName();
}

bool NativeSettingsStore::isMalformed() const {
    return verdicts().isMalformed(fileName());
}

QString NativeSettingsStore::keepAside() const {
    const QString file = fileName();
    if (!verdicts().isMalformed(file))
        return {};
    const QString aside = asideName(file);
    if (!QFile::rename(file, aside)) {
        qWarning().noquote() << "The settings file" << file << "does not read as settings and"
                             << "cannot be moved aside; the setting is not saved.";
        return {};
    }
    return aside;
}

QString NativeSettingsStore::read(const QString& key,
                                  const std::optional<QString>& fallback) const {
    if (isMalformed())
        return fallback.value_or(QString());
    const auto settings = openSettings(name_);
    settings->beginGroup(group);
    const QVariant value = settings->value(key);
    if (settings->status() != QSettings::NoError || !value.isValid())
        return fallback.value_or(QString());
    return value.toString();
}

bool NativeSettingsStore::contains(const QString& key) const {
    if (isMalformed())
        return false;
    const auto settings = openSettings(name_);
    settings->beginGroup(group);
    return settings->contains(key) && settings->status() == QSettings::NoError;
}

SettingsStore::WriteFailure NativeSettingsStore::write(const QString& key, const QString& value) {
    // Writing through QSettings would save its partial reading of a malformed file: the file
    // goes aside first, whole, so nothing typed into it is lost.
    if (isMalformed() && keepAside().isEmpty())
        return QStringLiteral("The settings file %1 does not read as settings and cannot be "
                              "moved aside.")
            .arg(QDir::toNativeSeparators(fileName()));
    const auto settings = openSettings(name_);
    settings->beginGroup(group);
    settings->setValue(key, value);
    settings->sync();
    if (settings->status() != QSettings::NoError)
        return QStringLiteral("The settings could not be saved to %1: %2.")
            .arg(QDir::toNativeSeparators(settings->fileName()),
                 settings->status() == QSettings::AccessError
                     ? QStringLiteral("it cannot be written (access denied, or the disk is full)")
                     : QStringLiteral("it does not read as settings"));
    return std::nullopt;
}

QString MemorySettingsStore::read(const QString& key,
                                  const std::optional<QString>& fallback) const {
    auto it = values_.constFind(key);
    if (it == values_.constEnd())
        return fallback.value_or(QString());
    return *it;
}

bool MemorySettingsStore::contains(const QString& key) const {
    return values_.contains(key);
}

SettingsStore::WriteFailure MemorySettingsStore::write(const QString& key, const QString& value) {
    if (failWrites)
        return failWrites;
    values_.insert(key, value);
    ++writes_;
    return std::nullopt;
}

QString SettingsInUse::read(const QString& key, const std::optional<QString>& fallback) const {
    if (auto it = unsaved_.constFind(key); it != unsaved_.constEnd())
        return *it;
    return store_.read(key, fallback);
}

bool SettingsInUse::contains(const QString& key) const {
    return unsaved_.contains(key) || store_.contains(key);
}

SettingsStore::WriteFailure SettingsInUse::write(const QString& key, const QString& value) {
    unsaved_.insert(key, value);
    // This value first, then any the store refused earlier, in key order.
    QStringList keys = unsaved_.keys();
    keys.removeOne(key);
    keys.prepend(key);
    for (const QString& k : keys) {
        if (WriteFailure failure = store_.write(k, unsaved_.value(k)))
            reason_ = *failure;
        else
            unsaved_.remove(k);
    }
    return notSaved();
}

SettingsStore::WriteFailure SettingsInUse::notSaved() const {
    if (unsaved_.isEmpty())
        return std::nullopt;
    return reason_;
}

bool captureSwitchOn(const SettingsStore& store, const QString& key) {
    bool isNumber = false;
    const int value = store.read(key, defaults::CapFlag).trimmed().toInt(&isNumber);
    return isNumber && value == 1;
}

} // namespace huddlex

#pragma once

#include <QMap>
#include <QString>
#include <optional>

namespace huddlex {

// Per-user key/value store of the section "Settings". Every value is a string; a default
// applies only to an absent key, so a stored empty string stays empty.
class SettingsStore {
public:
    // Why a value could not be kept; nothing when it was.
    using WriteFailure = std::optional<QString>;

    virtual ~SettingsStore() = default;
    virtual QString read(const QString& key, const std::optional<QString>& fallback = {}) const = 0;
    [[nodiscard]] virtual WriteFailure write(const QString& key, const QString& value) = 0;
    // Whether the key holds a value of its own (a read would not fall back).
    virtual bool contains(const QString& key) const;
};

// The native per-user store, named after the executable (QSettings, native format). A settings
// file that does not read as settings is never trusted in part: every read gives the default,
// for the whole session, and the first write keeps the file aside as "<file>.bad" before it
// starts a new one.
class NativeSettingsStore final : public SettingsStore {
public:
    // `applicationName` defaults to the executable's base name.
    explicit NativeSettingsStore(QString applicationName = {});
    QString read(const QString& key, const std::optional<QString>& fallback = {}) const override;
    WriteFailure write(const QString& key, const QString& value) override;
    bool contains(const QString& key) const override;

    QString applicationName() const { return name_; }
    QString fileName() const; // where the store lives (a file on Linux, a registry key on Windows)
    bool isMalformed() const;

private:
    // Moves a malformed file aside; returns where it went, or empty when it could not.
    QString keepAside() const;

    QString name_;
};

// In-memory store: the headless command and tests.
class MemorySettingsStore final : public SettingsStore {
public:
    QString read(const QString& key, const std::optional<QString>& fallback = {}) const override;
    WriteFailure write(const QString& key, const QString& value) override;
    bool contains(const QString& key) const override;
    const QMap<QString, QString>& values() const { return values_; }
    int writeCount() const { return writes_; }
    // Tests: every write fails with this reason while it is set.
    std::optional<QString> failWrites;

private:
    QMap<QString, QString> values_;
    int writes_ = 0;
};

// The settings as the program uses them: the store's values, except those whose last write
// failed, which stay as the player set them for the rest of the session (so capture and
// validation never use a value the player no longer sees). Every later write tries them again.
class SettingsInUse final : public SettingsStore {
public:
    explicit SettingsInUse(SettingsStore& store) : store_(store) {}
    QString read(const QString& key, const std::optional<QString>& fallback = {}) const override;
    // A failure also when this value was kept but an earlier one still is not.
    WriteFailure write(const QString& key, const QString& value) override;
    bool contains(const QString& key) const override;
    // Why the values in use are not all saved; nothing when they are.
    WriteFailure notSaved() const;

private:
    SettingsStore& store_;
    QMap<QString, QString> unsaved_;
    QString reason_;
};

// The keys and their defaults.
namespace keys {
inline const QString FBDrive = QStringLiteral("FBDrive");
inline const QString FBVer = QStringLiteral("FBVer");
inline const QString FBPlayFolder = QStringLiteral("FBPlayFolder");
inline const QString CapPlans = QStringLiteral("CapPlans");
inline const QString CapPlays = QStringLiteral("CapPlays");
// Linux: the Wine prefix the game's drives come from; empty or absent for $WINEPREFIX, ~/.wine.
inline const QString WinePrefix = QStringLiteral("WinePrefix");
} // namespace keys

namespace defaults {
inline const QString FBDrive = QStringLiteral("C:");
inline const QString FBVer = QStringLiteral("\\Sierra\\FBPro97\\");
inline const QString FBPlayFolder = QStringLiteral("VPNFL");
inline const QString CapFlag = QStringLiteral("1");
} // namespace defaults

inline const QString FBPro97Folder = QStringLiteral("\\Sierra\\FBPro97\\");
inline const QString FBPro98Folder = QStringLiteral("\\Sierra\\FBPro98\\");

// A capture switch is on only when its stored text is the number 1; anything else,
// including text that is not a number, is off.
bool captureSwitchOn(const SettingsStore& store, const QString& key);

} // namespace huddlex

#pragma once

#include "settings/gamepaths.h"
#include "settings/settingsstore.h"
#include "ui/settingsdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QTextDocument>

// What the Settings dialog's tests share: a store that logs its writes, and the dialog's
// controls by name.
namespace huddlex::test {

// A store that remembers every write, in order, as "Key=value".
class LoggingStore final : public SettingsStore {
public:
    QString read(const QString& key, const std::optional<QString>& fallback) const override {
        return values.contains(key) ? values.value(key) : fallback.value_or(QString());
    }
    WriteFailure write(const QString& key, const QString& value) override {
        writes << key + QLatin1Char('=') + value;
        if (failWrites)
            return failWrites;
        values.insert(key, value);
        return std::nullopt;
    }
    std::optional<QString> failWrites;
    QMap<QString, QString> values;
    QStringList writes;
};

const QString v97 = QStringLiteral("\\Sierra\\FBPro97\\");
const QString v98 = QStringLiteral("\\Sierra\\FBPro98\\");

template <typename T> T* control(QWidget& dialog, const char* name) {
    auto* found = dialog.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// What the game folder line under the controls says, and its tool tip, as plain text.
QString hintOf(QWidget& dialog) {
    QTextDocument document;
    document.setHtml(control<QLabel>(dialog, "lblGameFolder")->text());
    return document.toPlainText();
}

// The paths the dialog tests start from: the default game folder, a play folder the dialog
// must not touch.
inline GamePaths startingPaths() {
    GamePaths paths;
    paths.gFBDrive = QStringLiteral("C:");
    paths.gFBVer = v97;
    paths.gFBPlayFolder = QStringLiteral("untouched");
    return paths;
}

} // namespace huddlex::test

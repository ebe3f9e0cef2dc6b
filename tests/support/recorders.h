#pragma once

#include "common/userinterfaces.h"

#include <QStringList>
#include <vector>

namespace huddlex::test {

// Message boxes, recorded instead of shown.
class RecordingNotifier final : public Notifier {
public:
    void showMessage(const QString& text) override { messages << text; }
    QStringList messages;
};

class RecordingStatus final : public StatusSink {
public:
    void setPanelText(int panel, const QString& text) override {
        (panel == 1 ? panel1 : panel2) = text;
        history << QStringLiteral("%1:%2").arg(panel).arg(text);
    }
    QString panelText(int panel) const override { return panel == 1 ? panel1 : panel2; }
    QString panel1 = QStringLiteral("Status: Stop");
    QString panel2 = QStringLiteral("Plays: 0");
    QStringList history;
};

class RecordingProgress final : public ProgressSink {
public:
    void setProgressVisible(bool v) override { visible = v; }
    void setProgressValue(double v) override {
        value = v;
        values.push_back(v);
    }
    double progressValue() const override { return value; }
    bool visible = false;
    double value = 0;
    std::vector<double> values;
};

class RecordingUnknownList final : public UnknownListView {
public:
    void clear() override { entries.clear(); }
    void add(const QString& entry) override { entries << entry; }
    int count() const override { return int(entries.size()); }
    void setShown(bool s) override { shown = s; }
    bool isShown() const override { return shown; }
    QStringList entries;
    bool shown = false;
};

// File1 stand-in: counts the matching files of a folder through the fs layer.
class FolderPlayList final : public PlayListView {
public:
    explicit FolderPlayList(QString windowsFolder) : folder(std::move(windowsFolder)) {}
    void refresh() override;
    int count() const override { return int(names.size()); }
    QString folder;
    QStringList names;
    int refreshes = 0;
};

} // namespace huddlex::test

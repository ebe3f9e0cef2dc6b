#pragma once

#include "common/userinterfaces.h"
#include "fs/fserror.h"

#include <QListWidget>

namespace huddlex::ui {

// `File1`: the files of one folder that match a fixed pattern, like a file list box.
class FileListBox final : public QListWidget, public PlayListView {
    Q_OBJECT
public:
    explicit FileListBox(QString pattern, QWidget* parent = nullptr);

    // Points the list at a folder; a folder that is not there leaves the old one listed.
    fs::Status setFolder(const QString& windowsFolder);
    QString folder() const { return folder_; }
    QString pattern() const { return pattern_; }

    void refresh() override;
    int count() const override { return QListWidget::count(); }

private:
    QString folder_;
    QString pattern_;
};

// `lstUnknown`: the unknown plays, in red.
class UnknownList final : public QListWidget, public UnknownListView {
    Q_OBJECT
public:
    explicit UnknownList(QWidget* parent = nullptr);
    void clear() override { QListWidget::clear(); }
    void add(const QString& entry) override { addItem(entry); }
    int count() const override { return QListWidget::count(); }
    void setShown(bool shown) override { setVisible(shown); }
    bool isShown() const override { return !isHidden(); }
};

} // namespace huddlex::ui

#pragma once

#include "common/userinterfaces.h"
#include "fs/folder.h"

#include <QListWidget>
#include <optional>

namespace huddlex::ui {

// `File1`: the files of one folder that match a fixed pattern, like a file list box.
class FileListBox final : public QListWidget, public PlayListView {
    Q_OBJECT
public:
    explicit FileListBox(QString pattern, QWidget* parent = nullptr);

    // Points the list at a folder and lists it.
    void setFolder(const fs::Folder& folder);
    // The folder listed, as the game names it; empty before the first.
    QString folder() const { return folder_ ? folder_->path() : QString(); }
    QString pattern() const { return pattern_; }

    void refresh() override;
    int count() const override { return QListWidget::count(); }

private:
    std::optional<fs::Folder> folder_;
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

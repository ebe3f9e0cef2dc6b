#include "ui/playlists.h"

#include "fs/folderops.h"

namespace huddlex::ui {

FileListBox::FileListBox(QString pattern, QWidget* parent)
    : QListWidget(parent), pattern_(std::move(pattern)) {}

void FileListBox::setFolder(const fs::Folder& folder) {
    folder_ = folder;
    refresh();
}

void FileListBox::refresh() {
    QListWidget::clear();
    if (folder_) {
        if (fs::Result<QStringList> names = fs::listFiles(*folder_, pattern_))
            addItems(*names);
    }
}

UnknownList::UnknownList(QWidget* parent) : QListWidget(parent) {
    QPalette red = palette();
    red.setColor(QPalette::Text, QColor(255, 0, 0));
    setPalette(red);
}

} // namespace huddlex::ui

#include "ui/playlists.h"

#include "fs/filesystem.h"

namespace huddlex::ui {

FileListBox::FileListBox(QString pattern, QWidget* parent)
    : QListWidget(parent), pattern_(std::move(pattern)) {}

fs::Status FileListBox::setFolder(const QString& windowsFolder) {
    if (!fs::isFolder(windowsFolder))
        return fs::Error{
            fs::ErrorKind::PathNotFound,
            QStringLiteral("Cannot list \"%1\": the folder does not exist").arg(windowsFolder)};
    folder_ = windowsFolder;
    refresh();
    return {};
}

void FileListBox::refresh() {
    QListWidget::clear();
    if (!folder_.isEmpty())
        addItems(fs::listFiles(folder_, pattern_));
}

UnknownList::UnknownList(QWidget* parent) : QListWidget(parent) {
    QPalette red = palette();
    red.setColor(QPalette::Text, QColor(255, 0, 0));
    setPalette(red);
}

} // namespace huddlex::ui

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace huddlex {

// Finds and reads the play files that plan entries name (game folder + entry), each file at
// most once. Names are resolved with the file system's case rules. Folder existence and
// folder listings are cached, so the many entries that cannot name a file (an empty start
// marker makes one per byte of plan text) are turned away without a disk access of their own.
class CandidateFiles {
public:
    explicit CandidateFiles(const QString& gameFolder);

    // The id of the readable regular file that `entry` names, the same for every entry naming
    // that file; -1 when it names nothing readable (missing, a folder, a FIFO, an invalid or
    // over-long path). Reads the file the first time it is named.
    int resolve(QByteArrayView entry);

    const QByteArray& content(int id) const { return contents_[static_cast<size_t>(id)]; }
    int fileCount() const { return static_cast<int>(contents_.size()); }

private:
    struct Folder {
        QString path;                         // Windows path, no trailing backslash
        QHash<QByteArray, int> subfolders;    // name as written -> folder index, or -1
        QHash<QByteArray, int> files;         // name as written -> file id, or -1
        std::optional<QSet<QString>> listing; // case-folded names of its ordinary files
    };

    int subfolder(int folder, QByteArrayView name);
    int file(int folder, QByteArrayView name);
    QString childPath(int folder, QByteArrayView name) const;

    std::vector<Folder> folders_;
    QString leadingPart_; // text of the game folder after its last backslash, usually empty
    qsizetype gameFolderLength_ = 0;
    bool usable_ = true;
    QHash<QString, int> fileIds_; // case-folded Windows path -> file id
    std::vector<QByteArray> contents_;
};

} // namespace huddlex

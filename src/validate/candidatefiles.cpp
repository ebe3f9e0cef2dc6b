#include "validate/candidatefiles.h"

#include "fs/filesystem.h"

namespace huddlex {

namespace {

// Longest Windows path and path component the host can open.
constexpr qsizetype kMaxPathLength = 4095;
constexpr qsizetype kMaxNameLength = 255;

bool validNameByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20) {
        return false;
    }
    switch (c) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
    case '/':
        return false;
    default:
        return true;
    }
}

// A name that Windows could hold, and not one that climbs out of its folder.
bool validName(QByteArrayView name) {
    if (name.size() > kMaxNameLength || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        if (!validNameByte(c)) {
            return false;
        }
    }
    return true;
}

QByteArray ownKey(QByteArrayView bytes) {
    return QByteArray(bytes.data(), bytes.size());
}

// Looks up without copying the name.
int lookup(const QHash<QByteArray, int>& hash, QByteArrayView name, bool& found) {
    auto it = hash.constFind(QByteArray::fromRawData(name.data(), name.size()));
    found = it != hash.constEnd();
    return found ? *it : -1;
}

} // namespace

CandidateFiles::CandidateFiles(const QString& gameFolder) {
    gameFolderLength_ = gameFolder.size();
    const qsizetype lastSeparator = gameFolder.lastIndexOf(QLatin1Char('\\'));
    if (lastSeparator < 0) {
        usable_ = false; // no folder to start from
        return;
    }
    QString root = gameFolder.left(lastSeparator);
    while (root.endsWith(QLatin1Char('\\'))) {
        root.chop(1);
    }
    leadingPart_ = gameFolder.mid(lastSeparator + 1);
    folders_.push_back({root, {}, {}, {}});
}

QString CandidateFiles::childPath(int folder, QByteArrayView name) const {
    QString path = folders_[static_cast<size_t>(folder)].path + QLatin1Char('\\');
    if (folder == 0) {
        path += leadingPart_;
    }
    return path + QString::fromLatin1(name);
}

int CandidateFiles::subfolder(int folder, QByteArrayView name) {
    bool found = false;
    const int known = lookup(folders_[static_cast<size_t>(folder)].subfolders, name, found);
    if (found) {
        return known;
    }
    int index = -1;
    if (validName(name)) {
        const QString path = childPath(folder, name);
        if (fs::findFirst(path, fs::Search::FilesAndFolders)) {
            index = static_cast<int>(folders_.size());
            folders_.push_back({path, {}, {}, {}});
        }
    }
    folders_[static_cast<size_t>(folder)].subfolders.insert(ownKey(name), index);
    return index;
}

int CandidateFiles::file(int folder, QByteArrayView name) {
    bool found = false;
    const int known = lookup(folders_[static_cast<size_t>(folder)].files, name, found);
    if (found) {
        return known;
    }
    int id = -1;
    if (validName(name) && !name.isEmpty()) {
        Folder& where = folders_[static_cast<size_t>(folder)];
        if (!where.listing) {
            QSet<QString> names;
            for (const QString& onDisk : fs::listFiles(where.path, QStringLiteral("*"))) {
                names.insert(onDisk.toCaseFolded());
            }
            where.listing = std::move(names);
        }
        const QString path = childPath(folder, name);
        const QString folded = path.toCaseFolded();
        const QString leaf = folded.mid(folded.lastIndexOf(QLatin1Char('\\')) + 1);
        // Hidden files are not listed; those few names are tried directly.
        if (where.listing->contains(leaf) || leaf.startsWith(QLatin1Char('.'))) {
            auto known = fileIds_.constFind(folded);
            if (known != fileIds_.constEnd()) {
                id = *known;
            } else if (fs::Result<QByteArray> bytes = fs::readFile(path)) {
                id = static_cast<int>(contents_.size());
                contents_.push_back(std::move(bytes).value());
                fileIds_.insert(folded, id);
            } else {
                fileIds_.insert(folded, -1);
            }
        }
    }
    folders_[static_cast<size_t>(folder)].files.insert(ownKey(name), id);
    return id;
}

int CandidateFiles::resolve(QByteArrayView entry) {
    if (!usable_ || gameFolderLength_ + entry.size() > kMaxPathLength) {
        return -1;
    }
    int folder = 0;
    qsizetype start = 0;
    for (;;) {
        // Only as far as a name may reach: a longer one fails without scanning the rest.
        const qsizetype window = std::min(entry.size() - start, kMaxNameLength + 1);
        const qsizetype separator = entry.sliced(start, window).indexOf('\\');
        if (separator < 0) {
            return window > kMaxNameLength ? -1 : file(folder, entry.sliced(start));
        }
        // Doubled backslashes read as one, except right after a leading part of the game
        // folder's name, which the entry's first name completes.
        if (separator > 0 || (folder == 0 && start == 0 && !leadingPart_.isEmpty())) {
            folder = subfolder(folder, entry.sliced(start, separator));
            if (folder < 0) {
                return -1;
            }
        }
        start += separator + 1;
    }
}

} // namespace huddlex

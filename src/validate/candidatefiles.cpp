#include "validate/candidatefiles.h"

#include "fs/filesystem.h"
#include "validate/codepage.h"

namespace huddlex {

namespace {

// Longest Windows path and path component the host can open.
constexpr qsizetype kMaxPathLength = 4095;
constexpr qsizetype kMaxNameLength = 255;

bool validNameChar(char16_t c) {
    if (c < 0x20) {
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
        if (!validNameChar(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool validName(QStringView name) {
    if (name.size() > kMaxNameLength || name == u"." || name == u"..") {
        return false;
    }
    for (QChar c : name) {
        if (!validNameChar(c.unicode())) {
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

CandidateFiles::CandidateFiles(const QString& gameFolder, qint64 prefixBytes)
    : prefixBytes_(prefixBytes) {
    gameFolderLength_ = gameFolder.size();
    const qsizetype lastSeparator = gameFolder.lastIndexOf(QLatin1Char('\\'));
    if (lastSeparator < 0) {
        return; // no folder to start from
    }
    QString root = gameFolder.left(lastSeparator);
    while (root.endsWith(QLatin1Char('\\'))) {
        root.chop(1);
    }
    leadingPart_ = gameFolder.mid(lastSeparator + 1);
    fs::Result<fs::Folder> folder = fs::Folder::open(root);
    if (folder) {
        addNode(std::move(folder).value());
        usable_ = true;
    }
}

CandidateFiles::CandidateFiles(fs::Folder root, qint64 prefixBytes)
    : prefixBytes_(prefixBytes), gameFolderLength_(root.path().size()), usable_(true) {
    addNode(std::move(root));
}

void CandidateFiles::markUnreadable(int id, const fs::Error& error) {
    const File& f = file(id);
    const QString path = nodes_[static_cast<size_t>(f.node)].folder.childPath(f.name);
    for (const Unreadable& known : std::as_const(unreadable_)) {
        if (known.path == path)
            return;
    }
    unreadable_.append({path, error});
}

fs::Result<fs::InputFile> CandidateFiles::open(int id) const {
    const File& f = file(id);
    return nodes_[static_cast<size_t>(f.node)].folder.openFile(f.name);
}

QString CandidateFiles::hostName(int node, QByteArrayView name) const {
    return node == 0 ? leadingPart_ + fromWindows1252(name) : fromWindows1252(name);
}

int CandidateFiles::subfolder(int node, QByteArrayView name) {
    bool found = false;
    const int known = lookup(nodes_[static_cast<size_t>(node)].subfolderBySpelling, name, found);
    if (found) {
        return known;
    }
    const int index = validName(name) ? subfolderNamed(node, hostName(node, name)) : -1;
    nodes_[static_cast<size_t>(node)].subfolderBySpelling.insert(ownKey(name), index);
    return index;
}

int CandidateFiles::subfolderNamed(int node, const QString& hostName) {
    const std::optional<QString> onDisk = nodes_[static_cast<size_t>(node)].folder.lookup(hostName);
    if (!onDisk) {
        return -1;
    }
    auto& byName = nodes_[static_cast<size_t>(node)].subfolderByName;
    if (auto it = byName.constFind(*onDisk); it != byName.constEnd()) {
        return *it;
    }
    int index = -1;
    fs::Result<fs::Folder> folder = nodes_[static_cast<size_t>(node)].folder.subfolder(*onDisk);
    if (folder) {
        index = addNode(std::move(folder).value());
    }
    nodes_[static_cast<size_t>(node)].subfolderByName.insert(*onDisk, index);
    return index;
}

int CandidateFiles::addNode(fs::Folder folder) {
    const int index = static_cast<int>(nodes_.size());
    nodeByPath_.insert(folder.path(), index);
    nodes_.push_back({std::move(folder), {}, {}, {}, {}});
    return index;
}

fs::Result<fs::Folder> CandidateFiles::subfolder(const fs::Folder& parent,
                                                 const QString& onDiskName) {
    const auto node = nodeByPath_.constFind(parent.path());
    const int below = node == nodeByPath_.constEnd() ? -1 : subfolderNamed(*node, onDiskName);
    if (below < 0) {
        return parent.subfolder(onDiskName); // not one of ours, or it says why it cannot be
    }
    return nodes_[static_cast<size_t>(below)].folder;
}

std::optional<CandidateFiles::FoundFolder> CandidateFiles::findFolder(const QString& relativePath) {
    if (!usable_) {
        return std::nullopt;
    }
    QStringList names = relativePath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!leadingPart_.isEmpty()) { // the game folder's own last name, completed by the first
        if (names.isEmpty()) {
            names.append(QString());
        }
        names.first().prepend(leadingPart_);
    }
    int node = 0;
    QStringList onDisk;
    for (const QString& name : names) {
        node = validName(QStringView(name)) ? subfolderNamed(node, name) : -1;
        if (node < 0) {
            return std::nullopt;
        }
        onDisk.append(fs::fileNameOf(nodes_[static_cast<size_t>(node)].folder.path()));
    }
    if (!leadingPart_.isEmpty()) {
        onDisk.first().remove(0, leadingPart_.size());
        if (onDisk.first().isEmpty()) {
            onDisk.removeFirst();
        }
    }
    return FoundFolder{nodes_[static_cast<size_t>(node)].folder, onDisk.join(QLatin1Char('\\'))};
}

int CandidateFiles::fileIn(int node, QByteArrayView name) {
    Node& where = nodes_[static_cast<size_t>(node)];
    bool found = false;
    const int known = lookup(where.fileBySpelling, name, found);
    if (found) {
        return known;
    }
    int id = -1;
    if (validName(name) && !name.isEmpty()) {
        if (auto onDisk = where.folder.lookup(hostName(node, name))) {
            if (auto it = where.fileByName.constFind(*onDisk); it != where.fileByName.constEnd()) {
                id = *it;
            } else {
                id = readFile(node, *onDisk);
                where.fileByName.insert(*onDisk, id);
            }
        }
    }
    where.fileBySpelling.insert(ownKey(name), id);
    return id;
}

int CandidateFiles::readFile(int node, const QString& onDiskName) {
    if (prefixBytes_ == kNamesOnly) {
        // A folder that could not be listed cannot say: opening the file will.
        const auto kind = nodes_[static_cast<size_t>(node)].folder.entryKind(onDiskName);
        if (kind && *kind != fs::Folder::Kind::File) {
            return -1;
        }
        files_.push_back({node, onDiskName, -1, {}});
        return static_cast<int>(files_.size()) - 1;
    }
    const fs::Folder& folder = nodes_[static_cast<size_t>(node)].folder;
    fs::Result<fs::InputFile> opened = folder.openFile(onDiskName);
    if (!opened) {
        noteUnreadable(folder.childPath(onDiskName), opened.error());
        return -1;
    }
    fs::InputFile in = std::move(opened).value();
    fs::Result<QByteArray> prefix = in.read(std::min(in.size(), prefixBytes_));
    if (!prefix) {
        noteUnreadable(folder.childPath(onDiskName), prefix.error());
        return -1;
    }
    // A file that shrank since its size was taken is as long as what could be read.
    const qint64 size =
        prefix->size() < std::min(in.size(), prefixBytes_) ? prefix->size() : in.size();
    files_.push_back({node, onDiskName, size, std::move(prefix).value(), in.modified()});
    return static_cast<int>(files_.size()) - 1;
}

void CandidateFiles::noteUnreadable(const QString& path, const fs::Error& error) {
    // Missing, or not a file at all (a folder, a FIFO): it names nothing. Anything else is a
    // play file this computer failed to read.
    switch (error.kind) {
    case fs::ErrorKind::FileNotFound:
    case fs::ErrorKind::PathNotFound:
    case fs::ErrorKind::NotRegularFile:
        return;
    default:
        unreadable_.append({path, error});
    }
}

int CandidateFiles::resolve(QByteArrayView entry) {
    if (!usable_ || gameFolderLength_ + entry.size() > kMaxPathLength) {
        return -1;
    }
    int node = 0;
    qsizetype start = 0;
    for (;;) {
        // Only as far as a name may reach: a longer one fails without scanning the rest.
        const qsizetype window = std::min(entry.size() - start, kMaxNameLength + 1);
        const qsizetype separator = entry.sliced(start, window).indexOf('\\');
        if (separator < 0) {
            return window > kMaxNameLength ? -1 : fileIn(node, entry.sliced(start));
        }
        // Doubled backslashes read as one, except right after a leading part of the game
        // folder's name, which the entry's first name completes.
        if (separator > 0 || (node == 0 && start == 0 && !leadingPart_.isEmpty())) {
            node = subfolder(node, entry.sliced(start, separator));
            if (node < 0) {
                return -1;
            }
        }
        start += separator + 1;
    }
}

} // namespace huddlex

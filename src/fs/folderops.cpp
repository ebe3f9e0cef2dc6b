#include "fs/folderops.h"

#include "fs/hostops.h"

namespace huddlex::fs {

using detail::placeIn;

Result<QStringList> listFiles(const Folder& folder, const QString& pattern) {
    Result<Folder> now = folder.reopened();
    if (!now)
        return now.error();
    if (now->listError())
        return *now->listError();
    QStringList names;
    for (const Folder::Entry& entry : now->entries()) {
        if (entry.kind == Folder::Kind::File && matchesWildcard(entry.name, pattern) &&
            !now->isHidden(entry.name))
            names << entry.name;
    }
    return names;
}

Result<QString> find(const Folder& folder, const QString& pattern, Search kind) {
    return detail::findAt({folder.hostPath(), folder.path()}, pattern, kind);
}

bool existsExactly(const Folder& folder, const QString& name, Search kind) {
    const Result<QString> found = find(folder, name, kind);
    return found && *found == name;
}

Result<QDateTime> modificationTime(const Folder& folder, const QString& name) {
    return detail::modificationTimeAt(placeIn(folder, name));
}

Status copyFile(const Folder& from, const QString& fromName, const Folder& to,
                const QString& toName) {
    return detail::copyAt(placeIn(from, fromName), placeIn(to, toName));
}

Status removeFile(const Folder& folder, const QString& name) {
    return detail::removeAt(placeIn(folder, name));
}

DeleteReport removeMatching(const Folder& folder, const QString& pattern) {
    return detail::removeMatchingAt({folder.hostPath(), folder.path()}, pattern);
}

Status makeFolder(const Folder& parent, const QString& name) {
    return detail::makeFolderAt(placeIn(parent, name));
}

} // namespace huddlex::fs

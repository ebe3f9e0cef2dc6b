#include "capture/capturedplays.h"

namespace huddlex {

namespace {
const QLatin1String stem("FBplay");
const QLatin1String extension(".ply");
} // namespace

QString CapturedPlays::canonicalName(qint64 number) {
    return stem + QString::number(number) + extension;
}

qint64 CapturedPlays::numberOf(const QString& fileName) {
    const qsizetype digits = fileName.size() - stem.size() - extension.size();
    if (digits < 1 || digits > 6 || !fileName.startsWith(stem, Qt::CaseInsensitive) ||
        !fileName.endsWith(extension, Qt::CaseInsensitive))
        return -1;
    const QStringView number = QStringView(fileName).sliced(stem.size(), digits);
    if (number.size() > 1 && number.front() == QLatin1Char('0'))
        return -1;
    qint64 value = 0;
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value <= kMaxNumber ? value : -1;
}

CapturedPlays CapturedPlays::fromNames(const QStringList& onDiskNames) {
    CapturedPlays plays;
    for (const QString& name : onDiskNames) {
        const qint64 number = numberOf(name);
        if (number < 0)
            continue;
        auto it = plays.names_.find(number);
        if (it == plays.names_.end())
            plays.names_.insert(number, name);
        else if (name == canonicalName(number))
            *it = name;
        plays.highest_ = std::max(plays.highest_, number);
    }
    return plays;
}

CapturedPlays CapturedPlays::list(const GamePaths& paths) {
    return list(fs::Folder::open(paths.captureFolder()));
}

CapturedPlays CapturedPlays::list(const fs::Result<fs::Folder>& folder) {
    if (!folder || folder->listError()) {
        CapturedPlays none;
        none.listError_ = folder ? *folder->listError() : folder.error();
        return none;
    }
    QStringList files;
    for (const fs::Folder::Entry& entry : folder->entries()) {
        if (entry.kind == fs::Folder::Kind::File)
            files << entry.name;
    }
    CapturedPlays plays = fromNames(files);
    plays.folder_ = *folder;
    return plays;
}

std::optional<QString> CapturedPlays::name(qint64 number) const {
    auto it = names_.constFind(number);
    if (it == names_.constEnd())
        return std::nullopt;
    return *it;
}

} // namespace huddlex

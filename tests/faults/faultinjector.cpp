#include "faultinjector.h"

#include <QDirIterator>
#include <QFile>
#include <cstdio>

namespace huddlex::test {

FaultInjector::FaultInjector(QString pathPart, int failAt, fs::ErrorKind kind)
    : pathPart_(std::move(pathPart)), failAt_(failAt), kind_(kind) {
    fs::faults::setHook(
        [this](fs::faults::Op, const QString& hostPath) -> std::optional<fs::Error> {
            if (!hostPath.contains(pathPart_))
                return std::nullopt;
            if (++steps_ != failAt_)
                return std::nullopt;
            fired_ = true;
            return fs::Error{kind_, QStringLiteral("injected fault")};
        });
}

FaultInjector::~FaultInjector() {
    fs::faults::clearHook();
}

Snapshot snapshot(const QString& hostFolder) {
    Snapshot files;
    QDirIterator it(hostFolder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(path,
                     file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
    return files;
}

int lostFiles(const Snapshot& before, const Snapshot& after) {
    int lost = 0;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()) || after.value(it.key()) != it.value())
            ++lost;
    }
    return lost;
}

QString kindName(fs::ErrorKind kind) {
    switch (kind) {
    case fs::ErrorKind::DiskFull:
        return QStringLiteral("disk full");
    case fs::ErrorKind::AccessDenied:
        return QStringLiteral("access denied");
    default:
        return QStringLiteral("write error");
    }
}

QString reasonShown(fs::ErrorKind kind) {
    switch (kind) {
    case fs::ErrorKind::DiskFull:
        return QStringLiteral("the disk is full");
    case fs::ErrorKind::AccessDenied:
        return QStringLiteral("access denied");
    default:
        return QStringLiteral("input/output error");
    }
}

int FaultTally::cases = 0;
int FaultTally::lost = 0;

void FaultTally::print() {
    std::printf("FAULT TALLY: %d fault cases tried, %d files lost\n", cases, lost);
}

} // namespace huddlex::test

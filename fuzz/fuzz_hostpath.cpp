// Windows paths onto a scratch Wine prefix: a resolved path stays on its drive, and a path
// to a file that exists is found whatever the letter case it is written in.
#include "fs/drivemap.h"
#include "fs/filesystem.h"
#include "fuzzcheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace huddlex;

namespace {

std::unique_ptr<QTemporaryDir> prefix;
QString driveC, driveD;

const QString KnownFile = QStringLiteral("Sierra\\FBPro97\\Xferbox\\FBplay0.ply");

void makePrefix() {
    prefix = std::make_unique<QTemporaryDir>();
    const QString root = prefix->path();
    driveC = root + QStringLiteral("/drive_c");
    driveD = root + QStringLiteral("/games");
    QDir().mkpath(driveC + QStringLiteral("/Sierra/FBPro97/Xferbox"));
    QDir().mkpath(driveC + QStringLiteral("/Sierra/FBPro97/VPNFL/OFF"));
    QDir().mkpath(driveD + QStringLiteral("/FBPro98"));
    QDir().mkpath(root + QStringLiteral("/dosdevices"));
    QFile::link(driveD, root + QStringLiteral("/dosdevices/d:"));
    QFile file(driveC + QStringLiteral("/Sierra/FBPro97/Xferbox/FBplay0.ply"));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write("play") == 4);
    qputenv("WINEPREFIX", root.toLocal8Bit());
}

bool within(const QString& host, const QString& root) {
    return host == root || host.startsWith(root + QLatin1Char('/'));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Qt's warnings about odd file names would flood the log and slow the run.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    makePrefix();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!prefix)
        makePrefix();
    if (size < 1)
        return 0;
    const QString tail =
        QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));

    if (data[0] & 1) {
        // The known file in any letter case, with doubled separators where the input says.
        QString path = QStringLiteral("C:\\");
        for (qsizetype i = 0; i < KnownFile.size(); ++i) {
            const std::uint8_t bits = size > 1 ? data[1 + size_t(i) % (size - 1)] : 0;
            const QChar ch = KnownFile.at(i);
            path += (bits & 1) ? ch.toUpper() : ch.toLower();
            if (ch == QLatin1Char('\\') && (bits & 2))
                path += QLatin1Char('\\');
        }
        const QString host = fs::toHostPath(path);
        FUZZ_CHECK(QFileInfo(host).isFile());
        FUZZ_CHECK(fs::readFile(path).ok());
        return 0;
    }

    const char letters[] = {'C', 'd', 'x'};
    const QChar letter = QLatin1Char(letters[(data[0] >> 1) % 3]);
    const QString path = QString(letter) + QLatin1Char(':') + tail;
    const QString host = fs::toHostPath(path);
    FUZZ_CHECK(!host.isEmpty());
    // Windows stops ".." at the drive's root: no path leaves its drive.
    if (letter == QLatin1Char('C'))
        FUZZ_CHECK(within(host, driveC));
    else if (letter == QLatin1Char('d'))
        FUZZ_CHECK(within(host, prefix->path() + QStringLiteral("/dosdevices/d:")));
    else
        FUZZ_CHECK(within(host, prefix->path() + QStringLiteral("/dosdevices/x:")));

    const QString name = fs::fileNameOf(path);
    FUZZ_CHECK(!name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char('/')));
    FUZZ_CHECK(path.endsWith(name));
    FUZZ_CHECK(fs::matchesWildcard(name, QStringLiteral("*")));
    const bool plainName = !name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?')) &&
                           !name.endsWith(QLatin1Char('.'));
    if (plainName)
        FUZZ_CHECK(fs::matchesWildcard(name, name));
    return 0;
}

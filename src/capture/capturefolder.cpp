#include "capture/capturefolder.h"

namespace huddlex {

namespace {
const QString captureFolderName = QStringLiteral("Xferbox");
}

fs::Status EnsureCaptureFolder(const GamePaths& paths) {
    // Found in any letter case it is the capture folder, as Windows would take it: creating
    // a second one is impossible there, and every path to it resolves ignoring case anyway.
    if (fs::findFirst(paths.captureFolder(), fs::Search::FilesAndFolders))
        return {};
    return fs::makeFolder(paths.captureFolder());
}

bool HasLeftoverPlays(const GamePaths& paths) {
    return fs::findFirst(paths.captureFile(QStringLiteral("*.ply"))).has_value();
}

fs::DeleteReport DeleteCapturedFiles(const GamePaths& paths) {
    return fs::removeMatching(paths.captureFolder(), QStringLiteral("*.*"));
}

QString describeDeleteProblems(const fs::DeleteReport& report) {
    if (report.folderError)
        return report.folderError->message;
    if (report.failed.isEmpty())
        return {};
    QString text = QStringLiteral("These files could not be deleted:\n");
    text += report.failed.join(QLatin1Char('\n'));
    if (!report.deleted.isEmpty())
        text += QStringLiteral("\n\nThe other %1 files were deleted.").arg(report.deleted.size());
    return text;
}

} // namespace huddlex

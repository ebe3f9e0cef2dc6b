#pragma once

#include "capture/captureengine.h"
#include "settings/gamepaths.h"
#include "settings/settingsstore.h"
#include "support/gamefolder.h"
#include "support/recorders.h"
#include "support/simclock.h"
#include "support/tempenvironment.h"

#include <QStringList>

namespace huddlex::test {

class RecordingProblems final : public CaptureProblemSink {
public:
    void showCaptureProblem(const QString& text) override {
        current = text;
        shown << text;
    }
    void clearCaptureProblem() override { current.clear(); }
    QString current;
    QStringList shown;
};

// A capture engine on a simulated clock, against the default game folder of a scratch
// Wine prefix, with recorders for everything it shows.
struct CaptureRig {
    TempEnvironment env;
    GameFolder game{env};
    MemorySettingsStore store;
    GamePaths paths;
    SimClock clock;
    RecordingStatus status;
    FolderPlayList file1{QStringLiteral("C:\\Sierra\\FBPro97\\Xferbox")};
    RecordingProblems problems;
    GameFolders folders{paths, clock};
    CaptureEngine engine{CaptureEngine::Parts{folders, store, clock, status, file1, &problems}};

    explicit CaptureRig(bool withCaptureFolder = true) {
        paths.readFrom(store);
        if (withCaptureFolder)
            game.makeCaptureFolder();
        folders.check();
    }

    bool enabled(CaptureEngine::TimerId id) const { return engine.isTimerEnabled(id); }
};

// A fixed, whole-second point in time for modification times.
inline QDateTime playTime(int second) {
    return QDateTime(QDate(2024, 9, 8), QTime(13, 0)).addSecs(second);
}

} // namespace huddlex::test

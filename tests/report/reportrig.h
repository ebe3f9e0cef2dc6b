#pragma once

#include "capture/capturedplays.h"
#include "report/validationreport.h"
#include "support/gamefolder.h"
#include "support/platform.h"
#include "support/recorders.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"

#include <QDir>
#include <QFileInfo>

namespace huddlex::test {

// A hand-made game folder: plans, a play library and captured plays, run through the real
// plan load and identification, then reported on.
struct ReportRig {
    TempEnvironment env;
    GameFolder game{env};
    MemorySettingsStore store;
    RecordingNotifier notifier;

    ReportRig() {
        game.makeCaptureFolder();
        plans({}, {}, {}, {});
    }
    // A file below the game folder, folders made as needed ("VPNFL/Off/Draw3.ply").
    void file(const QString& path, const QByteArray& data) const {
        QDir().mkpath(QFileInfo(game.hostFile(path)).path());
        game.write(path, data);
    }
    void plans(const QByteArray& off1, const QByteArray& def1, const QByteArray& off2,
               const QByteArray& def2) const {
        file("Xferbox/XOff1.pln", off1);
        file("Xferbox/XDef1.pln", def1);
        file("Xferbox/XOff2.pln", off2);
        file("Xferbox/XDef2.pln", def2);
    }
    void capture(int number, const QByteArray& data) const {
        file(QStringLiteral("Xferbox/FBplay%1.ply").arg(number), data);
    }

    // Validates as the Validate command does, then builds the report of that run.
    ValidationReport report() {
        GamePaths paths;
        FBPlan plan;
        PlanFields read;
        ReadGamePlans(paths, store, plan, notifier, &read);
        const CapturedPlays captures = CapturedPlays::list(paths);
        const QStringList outcomes = IdentifyPlays(plan, paths, captures);
        return BuildReport({paths.gameFolder(), paths, read, plan.gPlayFiles, outcomes, captures});
    }
};

// Bytes that look like a play: `n` of them, from a seed, so two seeds share little.
inline QByteArray playBytes(int n, int seed) {
    QByteArray bytes(n, '\0');
    quint32 state = 2166136261u ^ quint32(seed) * 16777619u;
    for (int i = 0; i < n; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = char(state >> 24);
    }
    return bytes;
}

// `bytes` with the byte at each of `positions` changed.
inline QByteArray changed(QByteArray bytes, const QList<int>& positions) {
    for (int p : positions)
        bytes[p] = char(~bytes[p]);
    return bytes;
}

} // namespace huddlex::test

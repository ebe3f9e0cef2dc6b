#pragma once

#include "capture/capturedplays.h"
#include "fs/faults.h"
#include "report/reportinput.h"
#include "report/reportwords.h"
#include "report/validationreport.h"
#include "support/gamefolder.h"
#include "support/platform.h"
#include "support/recorders.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace huddlex::test {

// A hand-made game folder: plans, a play library and captured plays, run through the real
// plan load and identification, then reported on.
struct ReportRig {
    TempEnvironment env;
    GameFolder game{env};
    MemorySettingsStore store;
    RecordingNotifier notifier;
    QStringList denied;        // host files whose reads fail while report() runs
    QHash<QString, int> reads; // reads of each host file by the latest report()

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

    template <class F> auto withReadHook(F work) {
        fs::faults::setHook(
            [this](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
                if (op != fs::faults::Op::Read)
                    return std::nullopt;
                ++reads[host];
                if (denied.contains(host))
                    return fs::Error{fs::ErrorKind::AccessDenied, QStringLiteral("denied")};
                return std::nullopt;
            });
        auto result = work();
        fs::faults::clearHook();
        return result;
    }

    // Validates as the Validate command does, then builds the report of that run.
    ValidationReport report() { return build(run()); }

    // The two halves, for what happens between a run and its report.
    ReportInput run() {
        reads.clear();
        return withReadHook([this] {
            GamePaths paths;
            FBPlan plan;
            PlanFields read;
            ReadGamePlans(paths, store, plan, notifier, &read);
            const CapturedPlays captures = CapturedPlays::list(paths);
            return RunInput(paths.gameFolder(), paths, read, plan.gPlayFiles, captures,
                            IdentifyPlays(plan, paths, captures));
        });
    }
    ValidationReport build(const ReportInput& input) {
        return withReadHook([&] { return BuildReport(input); });
    }
};

// A play's verdict and what it names, in one line: "identified Off1 Def2",
// "not-in-plans VPNFL\a.ply", "modified VPNFL\a.ply 3" (the distance, by position or by
// edits), "unknown".
inline QString brief(const PlayEntry& play) {
    QStringList words = QStringList{VerdictName(play.verdict)} + play.namedBy;
    if (!play.match.isEmpty())
        words << play.match;
    if (!play.nearest.isEmpty())
        words << play.nearest
              << QString::number(play.edits.isEmpty() ? play.differingBytes : play.editDistance);
    return words.join(QLatin1Char(' '));
}

inline QStringList briefs(const ValidationReport& report) {
    QStringList lines;
    for (const PlayEntry& play : report.plays)
        lines << brief(play);
    return lines;
}

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

// `bytes` with `n` new bytes put in at `at`, or `n` bytes taken out there.
inline QByteArray inserted(QByteArray bytes, int at, int n, int seed = 99) {
    return bytes.insert(at, playBytes(n, seed));
}
inline QByteArray removed(QByteArray bytes, int at, int n) {
    return bytes.remove(at, n);
}

// A traced play's verdict in words and its edits: "Modified A: 6 bytes inserted | insert 200
// 200 6"; other verdicts in words alone.
inline QString editsBrief(const PlayEntry& play) {
    QStringList runs;
    for (const EditRun& run : play.edits)
        runs << QStringLiteral("%1 %2 %3 %4")
                    .arg(EditOpName(run.op))
                    .arg(run.at)
                    .arg(run.nearestAt)
                    .arg(run.bytes);
    const QString words = VerdictInWords(play);
    return runs.isEmpty() ? words : words + " | " + runs.join(", ");
}

// A library name that needs quoting: a comma, quotes and a line break where the file system
// allows them; Windows allows only the comma.
inline const QString oddName = test::onWindows ? QStringLiteral("Run, Left's Two.ply")
                                               : QStringLiteral("Run, \"Left\"\nTwo.ply");

// A game with one play of each verdict, and library names that need quoting or are not ASCII.
struct MixedGame : ReportRig {
    QByteArray draw = playBytes(600, 1);
    QByteArray odd = playBytes(300, 2);
    QByteArray cafe = playBytes(300, 3);
    QByteArray blitz = playBytes(400, 5);

    MixedGame() {
        file("VPNFL/Off/Draw3.ply", draw);
        file("VPNFL/Odd/" + oddName, odd);
        file(QStringLiteral("VPNFL/Odd/Caf\u00e9.ply"), cafe);
        plans("\"VPNFL\\Off\\Draw3.ply\"", "", "", "VPNFL\\Off\\Draw3.ply");
        capture(0, draw);                           // identified
        capture(1, odd.left(250));                  // not in the plans
        capture(2, changed(cafe, {9, 10, 12, 40})); // modified
        capture(3, playBytes(300, 4));              // unknown
        capture(4, "");                             // empty; 5 is missing
        capture(6, draw.left(10));                  // identified as well
        file("VPNFL/Def/Blitz.ply", blitz);
        capture(7, changed(inserted(blitz, 200, 6), {350})); // modified by edits
    }
};

} // namespace huddlex::test

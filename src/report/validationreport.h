#pragma once

#include "report/editscript.h"
#include "report/editsearch.h"
#include "report/nearestplay.h"
#include "report/playsearch.h"
#include "report/reportinput.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace huddlex {

// What a captured play is, in the order the report decides it.
enum class Verdict {
    Identified, // the run named it
    Missing,    // no file for its number, or it cannot be read
    Empty,      // 0 bytes
    NotInPlans, // the whole play begins a library file no plan names
    Modified,   // within a quarter of its length of a candidate or library play, position by
                // position or, failing that, by edit distance
    Unknown,    // unlike anything here
    // Unknown to the run, but a play file the plans name could not be read, which it might
    // have matched: no verdict is drawn from what could be read.
    Unchecked,
};
inline constexpr int kVerdictCount = int(Verdict::Unchecked) + 1;

// "identified", "missing", "empty", "not-in-plans", "modified", "unknown", "unchecked".
QString VerdictName(Verdict verdict);

struct PlanSummary {
    QString slot;          // "Off1", "Off2", "Def1", "Def2"
    QString file;          // "XOff1.pln" ...
    bool loaded = false;   // the run's plan load read it
    qint64 playsNamed = 0; // paths in its own fields
};

struct PlayEntry {
    qint64 capture = 0;
    QString file;                // on-disk name, or "FBplay<N>.ply" for a gap
    std::optional<qint64> bytes; // nothing when missing
    QString outcome;             // the run's outcome, plan bytes read as Windows-1252
    Verdict verdict = Verdict::Unknown;
    QStringList namedBy;       // identified: the slots whose own plan names the same file
    QString match;             // not-in-plans: the first such library file, a library path
                               // unchecked: the first play file that could not be read
    QString nearest;           // modified: a plan entry, or a library path
    qint64 differingBytes = 0; // modified: the distance
    qint64 nearestBytes = 0;   // modified: the nearest's length
    QList<ByteRange> ranges;   // modified position by position
    // Modified by bytes inserted or deleted, where no play comes near position by position:
    // the edit distance and the edits from the nearest to the play.
    qint64 editDistance = 0;
    QList<EditRun> edits;
    // Modified, for a look at the bytes: the captured play's first bytes and the nearest's, as
    // far as they were compared and at most PlaySearch::kHeldBytes; both whole for edits.
    QByteArray content;
    QByteArray nearestContent;
    // The file is not what the run compared (its size or time changed, it went or came).
    bool changedSinceRun = false;
    bool isUnknownOutcome() const { return verdict != Verdict::Identified; }
};

// What building the report cost, for the benchmark and the tests.
struct ReportCounts {
    qint64 libraryFiles = 0;
    qint64 unlistedFolders = 0; // folders of the library that could not be read
    qint64 candidateFiles = 0;  // distinct files the candidates name
    qint64 capturesRead = 0;
    SearchCounts search;
    EditCounts edits;
    // Library files that could not be read: each search tries every file, so the larger count.
    qint64 unreadableFiles() const { return std::max(search.readFailures, edits.readFailures); }
};

struct ValidationReport {
    QString gameFolder;
    QList<PlanSummary> plans; // Off1, Off2, Def1, Def2
    QList<PlayEntry> plays;   // one per capture number of the run
    qint64 unknown = 0;       // outcomes "Unknown Play", as the run counted them
    QStringList unreadable;   // play files the plans name that the run could not read
    // Captured plays and play files that are not as the run compared them: validate again.
    QStringList changedSinceRun;
    ReportCounts counts;
};

// Explains a validation run: reads the captured plays the run could not name, the library and
// the candidates, never changing an outcome. Plan entries name files as they do for the run
// (the candidate index's rules: letter case, Windows-1252, no "." or ".." parts). The library
// is scanned only when some play needs it.
ValidationReport BuildReport(const ReportInput& input);

} // namespace huddlex

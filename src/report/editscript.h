#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace huddlex {

// How a captured play differs from the play it was made from, seen from the captured play: an
// insert is bytes it has and the nearest lacks, a delete bytes the nearest has and it lacks, a
// change bytes in the same place that differ.
enum class EditOp { Insert, Delete, Change };

// "insert", "delete", "change".
QString EditOpName(EditOp op);

// One run of edits of one kind.
struct EditRun {
    EditOp op = EditOp::Change;
    qint64 at = 0;        // offset in the captured play
    qint64 nearestAt = 0; // offset in the nearest play
    qint64 bytes = 0;
    friend bool operator==(const EditRun&, const EditRun&) = default;
};

// The edit distance (bytes inserted, deleted and changed, each counting one) between `play`
// and `nearest` when it is at most `limit`; -1 beyond.
qint64 EditDistance(QByteArrayView play, QByteArrayView nearest, qint64 limit);

// A shortest edit script turning `nearest` into `play`, whose distance is `distance`, as runs
// in offset order; empty when they are equal.
QList<EditRun> ShortestScript(QByteArrayView play, QByteArrayView nearest, qint64 distance);

// An edit script found cheaply: the two are split at runs of bytes both hold once, and only the
// pieces between them are aligned. Not always a shortest one: it is when its cost meets a lower
// bound of the distance.
QList<EditRun> AnchoredScript(QByteArrayView play, QByteArrayView nearest);

// The bytes a script inserts, deletes and changes.
qint64 ScriptCost(const QList<EditRun>& edits);

// One column of the two plays set side by side as the script aligns them: a byte of each, or
// a byte of one against a gap (-1) in the other.
struct AlignedColumn {
    qint64 play = -1;    // offset in the captured play, -1 for a gap
    qint64 nearest = -1; // offset in the nearest play, -1 for a gap
    bool edited = false; // an insert, delete or change
};

// Every column of the alignment `edits` describes, from the first bytes to the last.
QList<AlignedColumn> AlignedColumns(const QList<EditRun>& edits, qint64 playSize,
                                    qint64 nearestSize);

} // namespace huddlex

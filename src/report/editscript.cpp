#include "report/editscript.h"

#include <algorithm>
#include <edlib.h>
#include <memory>

namespace huddlex {

namespace {

// edlib's work grows with the bytes it is given times the distinct byte values among them (all
// 256 in most plays): about a microsecond a byte for a path. What the two share at their ends
// is left out, and a long rest is split at anchors into pieces of about this size.
constexpr qsizetype kPieceBytes = 256;
constexpr qsizetype kAnchorBytes = 32;

// edlib's result, freed however the caller leaves.
using Alignment = std::unique_ptr<EdlibAlignResult, void (*)(EdlibAlignResult*)>;

// Both sides fit an int: the search holds no play or file near 2 GB.
Alignment edlib(QByteArrayView play, QByteArrayView nearest, qint64 limit, EdlibAlignTask task) {
    auto* result = new EdlibAlignResult(
        edlibAlign(play.data(), int(play.size()), nearest.data(), int(nearest.size()),
                   edlibNewAlignConfig(int(limit), EDLIB_MODE_NW, task, nullptr, 0)));
    return Alignment(result, [](EdlibAlignResult* done) {
        edlibFreeAlignResult(*done);
        delete done;
    });
}

// edlib's operations as the captured play (the query) sees them.
EditOp editOp(unsigned char op) {
    switch (op) {
    case EDLIB_EDOP_INSERT: // the query has a byte the target lacks
        return EditOp::Insert;
    case EDLIB_EDOP_DELETE:
        return EditOp::Delete;
    default:
        return EditOp::Change;
    }
}

// Leaves out what the two share at their start and, of the rest, at their end: a shortest script
// leaves those bytes alone. Returns how many it left out at the start.
qint64 trimShared(QByteArrayView& play, QByteArrayView& nearest) {
    const qint64 shorter = std::min(play.size(), nearest.size());
    qint64 head = 0, tail = 0;
    while (head < shorter && play[head] == nearest[head])
        ++head;
    while (tail < shorter - head &&
           play[play.size() - 1 - tail] == nearest[nearest.size() - 1 - tail])
        ++tail;
    play = play.sliced(head, play.size() - head - tail);
    nearest = nearest.sliced(head, nearest.size() - head - tail);
    return head;
}

// A script built a piece at a time, in offset order; a run that continues the last one joins
// it.
class Script {
public:
    void add(EditOp op, qint64 at, qint64 nearestAt, qint64 bytes) {
        if (!runs_.isEmpty()) {
            EditRun& last = runs_.back();
            if (last.op == op && last.at + (op == EditOp::Delete ? 0 : last.bytes) == at &&
                last.nearestAt + (op == EditOp::Insert ? 0 : last.bytes) == nearestAt) {
                last.bytes += bytes;
                return;
            }
        }
        runs_.append({op, at, nearestAt, bytes});
    }

    // The pieces' script with their shared ends left alone: edlib's for short or unanchored
    // pieces, split at an anchor when `anchored`. False when edlib finds none within `limit`.
    bool align(QByteArrayView play, QByteArrayView nearest, qint64 at, qint64 nearestAt,
               qint64 limit, bool anchored);

    QList<EditRun> take() { return std::move(runs_); }

private:
    bool alignWhole(QByteArrayView play, QByteArrayView nearest, qint64 at, qint64 nearestAt,
                    qint64 limit);
    bool alignAtAnchor(QByteArrayView play, QByteArrayView nearest, qint64 at, qint64 nearestAt);

    QList<EditRun> runs_;
};

bool Script::align(QByteArrayView play, QByteArrayView nearest, qint64 at, qint64 nearestAt,
                   qint64 limit, bool anchored) {
    const qint64 head = trimShared(play, nearest);
    at += head;
    nearestAt += head;
    if (play.isEmpty() || nearest.isEmpty()) { // edlib gives no path for an empty side
        if (!play.isEmpty())
            add(EditOp::Insert, at, nearestAt, play.size());
        if (!nearest.isEmpty())
            add(EditOp::Delete, at, nearestAt, nearest.size());
        return std::max(play.size(), nearest.size()) <= limit;
    }
    if (anchored && play.size() + nearest.size() > 2 * kPieceBytes &&
        alignAtAnchor(play, nearest, at, nearestAt))
        return true;
    return alignWhole(play, nearest, at, nearestAt, limit);
}

bool Script::alignWhole(QByteArrayView play, QByteArrayView nearest, qint64 at, qint64 nearestAt,
                        qint64 limit) {
    const Alignment result = edlib(play, nearest, limit, EDLIB_TASK_PATH);
    if (result->status != EDLIB_STATUS_OK || result->editDistance < 0)
        return false;
    for (int i = 0; i < result->alignmentLength; ++i) {
        const unsigned char op = result->alignment[i];
        if (op != EDLIB_EDOP_MATCH)
            add(editOp(op), at, nearestAt, 1);
        at += op != EDLIB_EDOP_DELETE;
        nearestAt += op != EDLIB_EDOP_INSERT;
    }
    return true;
}

// Splits at a run of the play's bytes that each side holds once, tried at the middle and then
// further out; false when there is none.
bool Script::alignAtAnchor(QByteArrayView play, QByteArrayView nearest, qint64 at,
                           qint64 nearestAt) {
    if (play.size() < kAnchorBytes)
        return false;
    for (const int eighth : {4, 2, 6, 1, 3, 5, 7}) {
        const qsizetype p = (play.size() - kAnchorBytes) * eighth / 8;
        const QByteArrayView anchor = play.sliced(p, kAnchorBytes);
        const qsizetype q = nearest.indexOf(anchor);
        if (q < 0 || nearest.lastIndexOf(anchor) != q || play.indexOf(anchor) != p ||
            play.lastIndexOf(anchor) != p)
            continue;
        const qint64 any = play.size() + nearest.size(); // no piece needs more
        align(play.first(p), nearest.first(q), at, nearestAt, any, true);
        align(play.sliced(p), nearest.sliced(q), at + p, nearestAt + q, any, true);
        return true;
    }
    return false;
}

} // namespace

QString EditOpName(EditOp op) {
    switch (op) {
    case EditOp::Insert:
        return QStringLiteral("insert");
    case EditOp::Delete:
        return QStringLiteral("delete");
    case EditOp::Change:
        break;
    }
    return QStringLiteral("change");
}

qint64 EditDistance(QByteArrayView play, QByteArrayView nearest, qint64 limit) {
    trimShared(play, nearest);
    if (play.isEmpty() || nearest.isEmpty()) {
        const qint64 rest = std::max(play.size(), nearest.size());
        return rest <= limit ? rest : -1;
    }
    const Alignment result = edlib(play, nearest, limit, EDLIB_TASK_DISTANCE);
    return result->status == EDLIB_STATUS_OK ? result->editDistance : -1;
}

QList<EditRun> ShortestScript(QByteArrayView play, QByteArrayView nearest, qint64 distance) {
    Script script;
    return script.align(play, nearest, 0, 0, distance, false) ? script.take() : QList<EditRun>();
}

QList<EditRun> AnchoredScript(QByteArrayView play, QByteArrayView nearest) {
    Script script;
    script.align(play, nearest, 0, 0, play.size() + nearest.size(), true);
    return script.take();
}

qint64 ScriptCost(const QList<EditRun>& edits) {
    qint64 cost = 0;
    for (const EditRun& run : edits)
        cost += run.bytes;
    return cost;
}

QList<AlignedColumn> AlignedColumns(const QList<EditRun>& edits, qint64 playSize,
                                    qint64 nearestSize) {
    QList<AlignedColumn> columns;
    qint64 at = 0, nearestAt = 0;
    auto matchUntil = [&](qint64 end) {
        for (; at < end && nearestAt < nearestSize; ++at, ++nearestAt)
            columns.append({at, nearestAt, false});
    };
    for (const EditRun& run : edits) {
        matchUntil(run.at);
        for (qint64 i = 0; i < run.bytes; ++i) {
            const bool hasPlay = run.op != EditOp::Delete, hasNearest = run.op != EditOp::Insert;
            columns.append({hasPlay ? at : -1, hasNearest ? nearestAt : -1, true});
            at += hasPlay;
            nearestAt += hasNearest;
        }
    }
    matchUntil(playSize);
    return columns;
}

} // namespace huddlex

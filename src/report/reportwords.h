#pragma once

#include "report/validationreport.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace huddlex {

// A play's name as the play log shows it: no folder, no extension ("VPNFL\Off\Draw3.ply"
// gives "Draw3").
QString PlayName(const QString& path);

// A count as the report writes it in words: 2048 gives "2,048".
QString CountInWords(qint64 count);

// The verdict in words: "Identified", "Not in the plans: Draw3", "Modified Draw3: 14 of 2,048
// bytes differ" (of the longer of the two plays) or, traced by its edits, "Modified Draw3: 6
// bytes inserted, 2 changed", "Unknown", "Empty", "Missing".
QString VerdictInWords(const PlayEntry& play);

// What edits add up to, the kinds that occur in the order inserted, removed, changed: "6 bytes
// inserted, 2 changed", "1 byte removed".
QString EditsInWords(const QList<EditRun>& edits);

// One line of the side-by-side view of a modified play.
struct HexLine {
    qint64 offset = 0;  // of the line's first byte
    QByteArray play;    // the captured play's bytes on the line
    QByteArray nearest; // the nearest's bytes on the line, as far as they were compared
};

// The lines of `width` bytes that hold a differing position the two plays both have, or a
// byte only the captured play has, in offset order; at most `maxLines` of them. Bytes only the
// nearest has were never read and are left out.
QList<HexLine> DifferingLines(const PlayEntry& play, int width, int maxLines);

// One line of the side-by-side view of a play traced by its edits: `width` columns of the
// alignment, each a byte of both plays or of one against a gap.
struct AlignedLine {
    qint64 playOffset = 0;    // of the captured play's first byte on the line, or its next one
    qint64 nearestOffset = 0; // the same in the nearest play
    QList<AlignedColumn> columns;
};

// The lines that hold an edit, in offset order; at most `maxLines` of them.
QList<AlignedLine> EditLines(const PlayEntry& play, int width, int maxLines);

} // namespace huddlex

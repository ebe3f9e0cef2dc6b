#pragma once

#include "report/validationreport.h"

#include <QByteArray>

namespace huddlex {

// The report as one JSON object (UTF-8): game_folder, plans, plays, unknown. Each play has
// capture, file, bytes (null when missing), outcome and verdict, and named_by, match,
// nearest, differing_bytes, nearest_bytes and ranges ([[first, last], ...]) where they apply;
// a modified play traced by its edits has nearest, nearest_bytes, edit_distance and edits
// ([{op, at, nearest_at, bytes}, ...]) instead.
QByteArray ReportJson(const ValidationReport& report);

// The plays as CSV (UTF-8, RFC 4180: CRLF line ends, fields with a comma, quote or line
// break in double quotes, quotes doubled): a header, then one row per capture number with the
// same fields and a last one, edits; lists are joined by spaces, a range written first-last,
// an edit op:at:nearest_at:bytes.
QByteArray ReportCsv(const ValidationReport& report);

// One play as an object of ReportJson's "plays", and a string as the writers put it in JSON,
// for documents that hold plays of their own (the league check's).
void AppendReportPlay(QByteArray& out, const PlayEntry& play);
void AppendJsonString(QByteArray& out, const QString& text);
// A CSV field as ReportCsv writes it: quoted when it must be.
QByteArray CsvField(const QString& text);

} // namespace huddlex

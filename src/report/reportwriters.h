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

} // namespace huddlex

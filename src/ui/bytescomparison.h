#pragma once

#include "report/validationreport.h"

#include <QString>

namespace huddlex::ui {

// What the report knows about one play, as HTML for the Report window's lower pane: for a
// modified play its differing bytes in hex beside the nearest play's, the differing ones
// marked (traced by its edits: the two aligned, a gap against each byte only one of them has);
// for the other verdicts a sentence saying what the play is.
QString BytesComparisonHtml(const PlayEntry& play);

} // namespace huddlex::ui

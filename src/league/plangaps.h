#pragma once

#include "league/leagueresult.h"
#include "validate/candidatefiles.h"
#include "validate/planreader.h"

namespace huddlex::league {

// The plans of the report with their gaps: each play path a plan's own text names (its own
// fields, not the text of the plans read before it) that names no play file, by the rules by
// which candidates are found. A path is listed once per plan, in the order the plan first
// names it. `names` finds files by name alone (CandidateFiles::kNamesOnly): no file is opened.
QList<GamePlan> PlanGaps(const QList<PlanSummary>& plans, const PlanFields& fields,
                         CandidateFiles& names, const QByteArray& startMarker);

} // namespace huddlex::league

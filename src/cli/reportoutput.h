#pragma once

#include "report/reportinput.h"

#include <QString>
#include <cstdio>
#include <optional>

namespace huddlex {

enum class ReportFormat { Json, Csv };

// "json" or "csv"; anything else is nothing.
std::optional<ReportFormat> ParseReportFormat(const QString& name);

// Builds the report of a finished run and writes it to `out` in `format`; says on `err` when
// library files could not be read, since the report then treats them as absent.
void PrintReport(ReportFormat format, const ReportInput& input, std::FILE* out, std::FILE* err);

} // namespace huddlex

#pragma once

#include "report/reportinput.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <optional>

namespace huddlex {

enum class ReportFormat { Json, Csv };

// "json" or "csv"; anything else is nothing.
std::optional<ReportFormat> ParseReportFormat(const QString& name);

// The report of a finished run in `format`. Says on `err` when play files could not be read,
// since the report then leaves them out.
QByteArray ReportOutput(ReportFormat format, const ReportInput& input, std::FILE* err);

} // namespace huddlex

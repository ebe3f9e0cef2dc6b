#include "cli/reportoutput.h"

#include "report/reportwriters.h"

namespace huddlex {

std::optional<ReportFormat> ParseReportFormat(const QString& name) {
    if (name == QLatin1String("json"))
        return ReportFormat::Json;
    if (name == QLatin1String("csv"))
        return ReportFormat::Csv;
    return std::nullopt;
}

QByteArray ReportOutput(ReportFormat format, const ReportInput& input, std::FILE* err) {
    const ValidationReport report = BuildReport(input);
    if (const qint64 failed = report.counts.unreadableFiles(); failed > 0) {
        std::fprintf(err,
                     "huddlex-validate: %lld play files could not be read; the report leaves "
                     "them out.\n",
                     static_cast<long long>(failed));
    }
    if (const qint64 unlisted = report.counts.unlistedFolders; unlisted > 0) {
        std::fprintf(err,
                     "huddlex-validate: %lld folders of the play library could not be read; the "
                     "report leaves out what they hold.\n",
                     static_cast<long long>(unlisted));
    }
    return format == ReportFormat::Json ? ReportJson(report) : ReportCsv(report);
}

} // namespace huddlex

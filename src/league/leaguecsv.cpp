#include "league/leaguewriters.h"
#include "report/reportwriters.h"

namespace huddlex::league {

namespace {

// The report's CSV of `plays`: its header line and one record per play, as ReportCsv writes
// them, so the columns stay the report's own.
QByteArray reportRows(const QList<PlayEntry>& plays) {
    ValidationReport report;
    report.plays = plays;
    return ReportCsv(report);
}

} // namespace

QByteArray LeagueCsv(const LeagueResult& result) {
    QByteArray header = reportRows({});
    header.chop(2); // its CRLF
    const int columns = int(header.count(',')) + 1;
    QByteArray out = "game," + header + ",error\r\n";
    for (const LeagueGame& game : result.games) {
        const QByteArray name = CsvField(game.game);
        if (!game.checked()) {
            out += name + QByteArray(columns + 1, ',') + CsvField(game.error) + "\r\n";
            continue;
        }
        for (const PlayEntry& play : game.plays) {
            QByteArray row = reportRows({play});
            row.remove(0, header.size() + 2); // its header
            row.chop(2);
            out += name + ',' + row + ",\r\n";
        }
    }
    return out;
}

} // namespace huddlex::league

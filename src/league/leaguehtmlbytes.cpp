#include "league/leaguehtml.h"
#include "report/reportwords.h"

namespace huddlex::league::html {

namespace {

constexpr int kWidth = 16;
constexpr int kMaxLines = 24;

QString hex(unsigned char byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
}

// The bytes of one side of a line; those that differ from the other side marked.
QString side(const QByteArray& mine, const QByteArray& other) {
    QStringList cells;
    for (qsizetype i = 0; i < mine.size(); ++i) {
        const QString cell = hex(static_cast<unsigned char>(mine[i]));
        const bool differs = i >= other.size() || mine[i] != other[i];
        cells << (differs ? QStringLiteral("<mark>%1</mark>").arg(cell) : cell);
    }
    return cells.join(QLatin1Char(' '));
}

} // namespace

QString modifiedBytes(const PlayEntry& play) {
    const QList<HexLine> lines = DifferingLines(play, kWidth, kMaxLines);
    QString out = QStringLiteral("<table class=\"hex\"><thead><tr><th>Offset</th><th>%1 (captured)"
                                 "</th><th>%2 (pool)</th></tr></thead><tbody>")
                      .arg(text(play.file), text(play.nearest));
    for (const HexLine& line : lines) {
        out += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                   .arg(QStringLiteral("%1").arg(line.offset, 8, 16, QLatin1Char('0')),
                        side(line.play, line.nearest), side(line.nearest, line.play));
    }
    out += QStringLiteral("</tbody></table>");
    if (lines.size() >= kMaxLines)
        out +=
            QStringLiteral("<p class=\"note\">The first %1 lines that differ.</p>").arg(kMaxLines);
    return out;
}

} // namespace huddlex::league::html

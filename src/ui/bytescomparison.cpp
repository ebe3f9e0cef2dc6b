#include "ui/bytescomparison.h"

#include "report/reportwords.h"

namespace huddlex::ui {

namespace {

constexpr int kWidth = 8;
constexpr int kMaxLines = 1000; // a long run of changes still shows quickly

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString bytesText(qint64 count) {
    return QStringLiteral("%1 byte%2").arg(CountInWords(count), count == 1 ? "" : "s");
}

QString rangeText(const ByteRange& range) {
    return range.first == range.last
               ? CountInWords(range.first)
               : QStringLiteral("%1&ndash;%2")
                     .arg(CountInWords(range.first), CountInWords(range.last));
}

QString hexByte(char byte) {
    return QStringLiteral("%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'));
}

// One side of a line: its bytes in hex, those that differ from the other side marked.
QString hexCells(const QByteArray& mine, const QByteArray& other) {
    QString cells;
    for (int i = 0; i < kWidth; ++i) {
        if (i > 0)
            cells += QLatin1Char(' ');
        if (i >= mine.size()) {
            cells += QStringLiteral("  ");
            continue;
        }
        const QString hex = hexByte(mine[i]);
        const bool differs = i >= other.size() || mine[i] != other[i];
        cells += differs ? QStringLiteral("<span class=\"d\">%1</span>").arg(hex) : hex;
    }
    return cells;
}

// One side of a line of the alignment: its bytes in hex, the edited ones marked, "--" where the
// other side has a byte this one lacks.
QString alignedCells(const AlignedLine& line, const QByteArray& bytes, bool playSide) {
    QString cells;
    for (int i = 0; i < kWidth; ++i) {
        if (i > 0)
            cells += QLatin1Char(' ');
        if (i >= line.columns.size()) {
            cells += QStringLiteral("  ");
            continue;
        }
        const AlignedColumn& column = line.columns[i];
        const qint64 at = playSide ? column.play : column.nearest;
        const QString hex = at < 0 ? QStringLiteral("--") : hexByte(bytes[at]);
        cells += column.edited ? QStringLiteral("<span class=\"d\">%1</span>").arg(hex) : hex;
    }
    return cells;
}

QString editedHtml(const PlayEntry& play) {
    QString html =
        QStringLiteral("<p><b>%1</b> (%2) against <b>%3</b> (%4): %5. Inserted bytes "
                       "stand against a gap (--) in the nearest play, removed bytes "
                       "against a gap in the captured play, changed bytes side by "
                       "side.</p>")
            .arg(escaped(play.file), bytesText(play.content.size()), escaped(play.nearest),
                 bytesText(play.nearestBytes), EditsInWords(play.edits));
    const QString name = escaped(play.file.left(23).leftJustified(23));
    html += QStringLiteral("<pre>Offset  %1  Offset  %2\n")
                .arg(name, escaped(PlayName(play.nearest).left(23)));
    const QList<AlignedLine> lines = EditLines(play, kWidth, kMaxLines);
    for (const AlignedLine& line : lines) {
        html += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(CountInWords(line.playOffset), 6)
                    .arg(alignedCells(line, play.content, true))
                    .arg(CountInWords(line.nearestOffset), 6)
                    .arg(alignedCells(line, play.nearestContent, false));
    }
    if (lines.size() >= kMaxLines)
        html += QStringLiteral("\u2026 and more\n");
    return html + QStringLiteral("</pre>");
}

QString modifiedHtml(const PlayEntry& play) {
    const qint64 size = play.bytes.value_or(0);
    QStringList ranges;
    for (const ByteRange& range : play.ranges)
        ranges << rangeText(range);
    QString html = QStringLiteral("<p><b>%1</b> (%2) against <b>%3</b> (%4): %5 differ, at %6.</p>")
                       .arg(escaped(play.file), bytesText(size), escaped(play.nearest),
                            bytesText(play.nearestBytes), bytesText(play.differingBytes),
                            ranges.join(QStringLiteral(", ")));
    html += QStringLiteral("<pre>%1  %2  %3\n")
                .arg(QStringLiteral("Offset"), escaped(play.file.left(23).leftJustified(23)),
                     escaped(PlayName(play.nearest).left(23)));
    const QList<HexLine> lines = DifferingLines(play, kWidth, kMaxLines);
    qint64 next = -1;
    for (const HexLine& line : lines) {
        if (next >= 0 && line.offset != next)
            html += QStringLiteral("%1\n").arg(QString(QChar(0x2026)), 6);
        html += QStringLiteral("%1  %2  %3\n")
                    .arg(CountInWords(line.offset), 6)
                    .arg(hexCells(line.play, line.nearest), hexCells(line.nearest, line.play));
        next = line.offset + kWidth;
    }
    if (lines.size() >= kMaxLines)
        html += QStringLiteral("\u2026 and more\n");
    html += QStringLiteral("</pre>");
    if (play.nearestBytes > size)
        html += QStringLiteral("<p>%1 goes on for %2 past the end of %3.</p>")
                    .arg(escaped(PlayName(play.nearest)), bytesText(play.nearestBytes - size),
                         escaped(play.file));
    return html;
}

} // namespace

QString BytesComparisonHtml(const PlayEntry& play) {
    const QString style =
        QStringLiteral("<style>.d { color: #ff0000; font-weight: bold; }</style>");
    const QString file = escaped(play.file);
    switch (play.verdict) {
    case Verdict::Identified:
        return QStringLiteral("<p><b>%1</b> is %2%3.</p>")
            .arg(
                file, escaped(play.outcome),
                play.namedBy.isEmpty()
                    ? QString()
                    : QStringLiteral(", named by %1").arg(play.namedBy.join(QStringLiteral(", "))));
    case Verdict::Missing:
        return QStringLiteral("<p>There is no file <b>%1</b>, or it cannot be read.</p>").arg(file);
    case Verdict::Empty:
        return QStringLiteral("<p><b>%1</b> is empty.</p>").arg(file);
    case Verdict::NotInPlans:
        return QStringLiteral("<p>The %2 of <b>%1</b> begin <b>%3</b>, a play in your library "
                              "that none of the plans names.</p>")
            .arg(file, bytesText(play.bytes.value_or(0)), escaped(play.match));
    case Verdict::Modified:
        return style + (play.edits.isEmpty() ? modifiedHtml(play) : editedHtml(play));
    case Verdict::Unchecked:
        return QStringLiteral("<p><b>%1</b> was not checked: the play file <b>%2</b>, which the "
                              "plans name, could not be read on this computer, and the play may "
                              "be that one. Make it readable and validate again.</p>")
            .arg(file, escaped(play.match));
    case Verdict::Unknown:
        break;
    }
    return QStringLiteral("<p>No play in the plans or in your library comes within a quarter of "
                          "the %2 of <b>%1</b>.</p>")
        .arg(file, bytesText(play.bytes.value_or(0)));
}

} // namespace huddlex::ui

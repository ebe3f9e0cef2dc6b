#include "report/reportwords.h"

#include <QLocale>
#include <algorithm>

namespace huddlex {

QString PlayName(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name;
}

QString CountInWords(qint64 count) {
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(count);
}

QString VerdictInWords(const PlayEntry& play) {
    switch (play.verdict) {
    case Verdict::Identified:
        return QStringLiteral("Identified");
    case Verdict::Missing:
        return QStringLiteral("Missing");
    case Verdict::Empty:
        return QStringLiteral("Empty");
    case Verdict::NotInPlans:
        return QStringLiteral("Not in the plans: %1").arg(PlayName(play.match));
    case Verdict::Modified:
        if (!play.edits.isEmpty())
            return QStringLiteral("Modified %1: %2")
                .arg(PlayName(play.nearest), EditsInWords(play.edits));
        return QStringLiteral("Modified %1: %2 of %3 bytes differ")
            .arg(PlayName(play.nearest), CountInWords(play.differingBytes),
                 CountInWords(std::max(play.bytes.value_or(0), play.nearestBytes)));
    case Verdict::Unchecked:
        return QStringLiteral("Not checked: %1 could not be read").arg(PlayName(play.match));
    case Verdict::Unknown:
        break;
    }
    return QStringLiteral("Unknown");
}

QString EditsInWords(const QList<EditRun>& edits) {
    qint64 bytes[3] = {0, 0, 0}; // by EditOp
    for (const EditRun& run : edits)
        bytes[int(run.op)] += run.bytes;
    const char* kinds[3] = {"inserted", "removed", "changed"};
    QStringList parts;
    for (int op = 0; op < 3; ++op) {
        if (bytes[op] == 0)
            continue;
        const QString unit = !parts.isEmpty() ? QString()
                             : bytes[op] == 1 ? QStringLiteral(" byte")
                                              : QStringLiteral(" bytes");
        parts << QStringLiteral("%1%2 %3").arg(CountInWords(bytes[op]), unit,
                                               QLatin1String(kinds[op]));
    }
    return parts.join(QStringLiteral(", "));
}

QList<AlignedLine> EditLines(const PlayEntry& play, int width, int maxLines) {
    QList<AlignedLine> lines;
    const QList<AlignedColumn> columns =
        AlignedColumns(play.edits, play.content.size(), play.nearestContent.size());
    qint64 at = 0, nearestAt = 0; // the next byte of each side
    for (qsizetype first = 0; first < columns.size() && lines.size() < maxLines; first += width) {
        const QList<AlignedColumn> line = columns.mid(first, width);
        if (std::any_of(line.begin(), line.end(), [](const AlignedColumn& c) { return c.edited; }))
            lines.append({at, nearestAt, line});
        for (const AlignedColumn& column : line) {
            at += column.play >= 0;
            nearestAt += column.nearest >= 0;
        }
    }
    return lines;
}

QList<HexLine> DifferingLines(const PlayEntry& play, int width, int maxLines) {
    QList<HexLine> lines;
    const qint64 size = play.content.size();
    for (const ByteRange& range : play.ranges) {
        const qint64 last = std::min(range.last, size - 1); // the nearest's own tail was not read
        for (qint64 line = range.first / width; line * width <= last; ++line) {
            if (!lines.isEmpty() && lines.back().offset >= line * width)
                continue; // two ranges on one line
            if (lines.size() >= maxLines)
                return lines;
            const qint64 offset = line * width;
            lines.append(
                {offset, play.content.mid(offset, width), play.nearestContent.mid(offset, width)});
        }
    }
    return lines;
}

} // namespace huddlex

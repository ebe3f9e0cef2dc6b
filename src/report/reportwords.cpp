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

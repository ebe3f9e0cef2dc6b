#include "league/plangaps.h"

#include "validate/codepage.h"

#include <QSet>

namespace huddlex::league {

namespace {

// The place of a plan file in the load's reading order.
int readIndex(const QString& file) {
    static const QStringList order{QStringLiteral("XOff1.pln"), QStringLiteral("XDef1.pln"),
                                   QStringLiteral("XOff2.pln"), QStringLiteral("XDef2.pln")};
    return int(order.indexOf(file));
}

} // namespace

QList<GamePlan> PlanGaps(const QList<PlanSummary>& plans, const PlanFields& fields,
                         CandidateFiles& names, const QByteArray& startMarker) {
    QList<GamePlan> withGaps;
    for (const PlanSummary& plan : plans) {
        GamePlan gaps{plan, {}};
        if (const std::optional<QByteArrayView> own = fields.file(readIndex(plan.file))) {
            const PlayPathList entries = ExtractPlayPaths(
                QByteArray::fromRawData(own->data(), own->size()), startMarker, ".ply");
            QSet<QByteArray> seen;
            entries.forEach([&](qsizetype, QByteArrayView entry) {
                const QByteArray bytes = entry.toByteArray();
                if (!seen.contains(bytes) && names.resolve(entry) < 0)
                    gaps.gaps << fromWindows1252(entry);
                seen.insert(bytes);
                return true;
            });
        }
        withGaps.append(std::move(gaps));
    }
    return withGaps;
}

} // namespace huddlex::league

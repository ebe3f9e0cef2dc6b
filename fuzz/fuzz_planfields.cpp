// Plan text from four plan files through the field reader, then play path extraction,
// checked against a plain restatement of the extraction rule.
#include "fuzzcheck.h"
#include "validate/fbplan.h"
#include "validate/planreader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace huddlex;

namespace {

struct Span {
    qsizetype offset;
    qsizetype length;
};

// The rule without the shared end-marker search: quadratic, obviously right.
std::vector<Span> referencePaths(const QByteArray& text, const QByteArray& start,
                                 const QByteArray& end) {
    std::vector<Span> spans;
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (!start.isEmpty()) {
            pos = text.indexOf(start, pos);
            if (pos < 0)
                break;
        }
        const qsizetype from = pos + start.size();
        const qsizetype at = from < text.size() ? text.indexOf(end, from) : -1;
        if (at < 0)
            break;
        if (at + end.size() - pos > 0)
            spans.push_back({pos, at + end.size() - pos});
        pos += start.size() + 1;
    }
    return spans;
}

void checkList(const PlayPathList& list, const QByteArray& text, const QByteArray& start,
               const QByteArray& end) {
    const std::vector<Span> expected = referencePaths(text, start, end);
    FUZZ_CHECK(list.size() == qsizetype(expected.size()));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QByteArrayView path = list.at(i);
        FUZZ_CHECK(path.data() >= text.constData());
        FUZZ_CHECK(path.data() + path.size() <= text.constData() + text.size());
        FUZZ_CHECK(path.data() - text.constData() == expected[size_t(i)].offset);
        FUZZ_CHECK(path.size() == expected[size_t(i)].length);
        FUZZ_CHECK(path.startsWith(start) && path.endsWith(end));
        FUZZ_CHECK(list.entry(i).toLatin1() == path.toByteArray());
    }
}

QByteArray startMarkerFor(std::uint8_t choice, QByteArrayView& rest) {
    switch (choice % 6) {
    case 0:
        return QByteArrayLiteral("VPNFL");
    case 1:
        return {};
    case 2:
        return QByteArrayLiteral("V");
    case 3:
        return QByteArrayLiteral("VPNFL\\");
    default: {
        const qsizetype n = std::min<qsizetype>(choice % 9, rest.size());
        const QByteArray marker = rest.first(n).toByteArray();
        rest = rest.sliced(n);
        return marker;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    QByteArrayView rest(reinterpret_cast<const char*>(data) + 4, qsizetype(size - 4));
    const QByteArray start = startMarkerFor(data[0], rest);
    const QByteArray end = QByteArrayLiteral(".ply");

    // Three cut points split the rest into the four plan files.
    qsizetype cuts[5] = {0, 0, 0, 0, rest.size()};
    for (int i = 1; i <= 3; ++i)
        cuts[i] = std::max(cuts[i - 1], rest.size() * data[i] / 255);

    FBPlan plan;
    using Setter = void (FBPlan::*)(const QByteArray&, QByteArrayView, QByteArrayView);
    const Setter setters[] = {&FBPlan::SetOff1Plays, &FBPlan::SetDef1Plays, &FBPlan::SetOff2Plays,
                              &FBPlan::SetDef2Plays};
    QByteArray planText;
    QByteArray texts[4];
    for (int i = 0; i < 4; ++i) {
        const QByteArrayView file = rest.sliced(cuts[i], cuts[i + 1] - cuts[i]);
        const qsizetype before = planText.size();
        AppendPlanFields(planText, file);
        // Separators go, every other byte stays in order.
        QByteArray kept;
        for (char c : file) {
            if (c != ',' && c != '\r' && c != '\n')
                kept.append(c);
        }
        FUZZ_CHECK(planText.sliced(before) == kept);
        (plan.*setters[i])(planText, start, end);
        texts[i] = planText;
    }
    checkList(*plan.gOff1Plays, texts[0], start, end);
    checkList(*plan.gDef1Plays, texts[1], start, end);
    checkList(*plan.gOff2Plays, texts[2], start, end);
    checkList(*plan.gDef2Plays, texts[3], start, end);

    // The candidates: offence lists first, then defence, each in its own order.
    const PlayPathList* order[] = {&*plan.gOff1Plays, &*plan.gOff2Plays, &*plan.gDef1Plays,
                                   &*plan.gDef2Plays};
    FUZZ_CHECK(plan.gPlayFiles.has_value());
    qsizetype index = 0;
    for (const PlayPathList* list : order) {
        for (qsizetype i = 0; i < list->size(); ++i)
            FUZZ_CHECK(plan.gPlayFiles->at(index++) == list->at(i));
    }
    FUZZ_CHECK(index == plan.gPlayFiles->size());
    return 0;
}

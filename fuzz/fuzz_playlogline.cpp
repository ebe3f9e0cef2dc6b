// The play log's line rewrite: each line of a log against a list of validation outcomes,
// checked against the rule it implements; then the whole log through the chunked converter,
// which must give the same bytes wherever the chunks split it.
#include "fuzzcheck.h"
#include "playlog/playlog.h"

#include <cstddef>
#include <cstdint>
#include <optional>

using namespace huddlex;

namespace {

const QByteArray Marker = QByteArrayLiteral("FBPlay~");

// Input: one byte (high bit: no validation ran; bits 4 to 6: chunk length less one; low bits:
// number of outcomes), the outcomes each ended by a NUL, then the log text.
struct Case {
    std::optional<QStringList> outcomes;
    QByteArrayView log;
};

Case parse(const std::uint8_t* data, std::size_t size) {
    Case c;
    QByteArrayView rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const bool validated = !(data[0] & 0x80);
    QStringList outcomes;
    for (int n = data[0] & 0x0f; n > 0; --n) {
        const qsizetype nul = rest.indexOf('\0');
        if (nul < 0)
            break;
        outcomes << QString::fromLatin1(rest.first(nul));
        rest = rest.sliced(nul + 1);
    }
    if (validated)
        c.outcomes = outcomes;
    c.log = rest;
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const Case c = parse(data, size);
    PlayLogNames names(c.outcomes);
    QByteArray out;

    bool lineRuleFailed = false;
    qsizetype pos = 0;
    while (pos < c.log.size()) {
        qsizetype cr = c.log.indexOf('\r', pos);
        const qsizetype lineEnd = cr < 0 ? c.log.size() : cr;
        const QByteArrayView line = c.log.sliced(pos, lineEnd - pos);
        pos = lineEnd + (cr < 0 ? 0 : 1);
        if (cr >= 0 && pos < c.log.size() && c.log.at(pos) == '\n')
            ++pos;

        const qsizetype outBefore = out.size();
        const qsizetype usedBefore = names.used();
        const qsizetype at = line.indexOf(Marker);
        const bool written = WritePlayLogLine(line, names, out);

        if (at >= 0 && !c.outcomes) {
            FUZZ_CHECK(!written);
            FUZZ_CHECK(out.size() == outBefore);
            lineRuleFailed = true;
            break;
        }
        FUZZ_CHECK(written);
        const QByteArrayView added = QByteArrayView(out).sliced(outBefore);
        QByteArray expected;
        if (at >= 0 && usedBefore < c.outcomes->size()) {
            FUZZ_CHECK(names.used() == usedBefore + 1);
            const QString name = PlayNameFromPath(c.outcomes->at(usedBefore));
            FUZZ_CHECK(!name.contains(QLatin1Char('\\')));
            const qsizetype rest = std::min(at + Marker.size() + 1, line.size());
            expected = line.first(at).toByteArray() + name.toLatin1() + ' ' +
                       line.sliced(rest).toByteArray();
        } else {
            FUZZ_CHECK(names.used() == usedBefore);
            expected = line.toByteArray();
        }
        FUZZ_CHECK(added == expected + "\r\n");
    }

    PlayLogNames chunkNames(c.outcomes);
    PlayLogConverter converter(chunkNames);
    const qsizetype chunk = 1 + ((data[0] >> 4) & 7);
    QByteArray chunked;
    bool fed = true;
    for (qsizetype at = 0; at < c.log.size() && fed; at += chunk)
        fed = converter.feed(c.log.sliced(at, std::min(chunk, c.log.size() - at)), chunked);
    FUZZ_CHECK(fed == !lineRuleFailed);
    if (fed) {
        converter.finish(chunked);
        FUZZ_CHECK(chunked == out);
        FUZZ_CHECK(chunkNames.used() == names.used());
    }
    return 0;
}

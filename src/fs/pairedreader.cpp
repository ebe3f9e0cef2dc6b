#include "fs/pairedreader.h"

#include <algorithm>
#include <cstring>

namespace huddlex::fs {

namespace {

std::optional<Error> readExactly(InputFile& file, qint64 at, char* into, qint64 length) {
    if (Status sought = file.seek(at); !sought)
        return sought.error();
    const Result<qint64> got = file.read(into, length);
    if (!got)
        return got.error();
    if (*got != length) // it shrank since it was opened
        return Error{ErrorKind::Other,
                     QStringLiteral("The file became shorter while it was read.")};
    return std::nullopt;
}

} // namespace

std::optional<PairedReader::Failure> PairedReader::forEach(InputFile& a, InputFile& b, qint64 from,
                                                           qint64 to, const Visit& visit) {
    if (bufferA_.isEmpty()) {
        bufferA_.resize(kChunkBytes);
        bufferB_.resize(kChunkBytes);
    }
    for (qint64 at = from; at < to;) {
        const qint64 data = std::min({a.dataFrom(at), b.dataFrom(at), to});
        if (data > at) {
            at = data;
            continue;
        }
        const qint64 length = std::min(kChunkBytes, to - at);
        if (auto error = readExactly(a, at, bufferA_.data(), length))
            return Failure{true, std::move(*error)};
        if (auto error = readExactly(b, at, bufferB_.data(), length))
            return Failure{false, std::move(*error)};
        if (!visit(at, QByteArrayView(bufferA_).first(length),
                   QByteArrayView(bufferB_).first(length)))
            return std::nullopt;
        at += length;
    }
    return std::nullopt;
}

Result<bool> PairedReader::same(InputFile& a, InputFile& b, qint64 from, qint64 to,
                                std::optional<Failure>* failure) {
    bool equal = true;
    std::optional<Failure> failed =
        forEach(a, b, from, to, [&](qint64, QByteArrayView x, QByteArrayView y) {
            equal = std::memcmp(x.data(), y.data(), static_cast<size_t>(x.size())) == 0;
            return equal;
        });
    if (failed) {
        Error error = failed->error;
        if (failure)
            *failure = std::move(failed);
        return error;
    }
    return equal;
}

} // namespace huddlex::fs

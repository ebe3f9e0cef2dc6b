#pragma once

#include "fs/inputfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <optional>

namespace huddlex::fs {

// Two files read side by side a chunk at a time, for comparisons that reach past what a caller
// holds in memory. Where both files hold a hole, their bytes are equal zeros and are skipped
// unread. The two buffers are made once and serve every comparison of a run.
class PairedReader {
public:
    static constexpr qint64 kChunkBytes = 256 * 1024;

    // Bytes [at, at + size) of both files; return false to stop.
    using Visit = std::function<bool(qint64 at, QByteArrayView a, QByteArrayView b)>;

    // A file that could not be read as far as asked, and why.
    struct Failure {
        bool first = true; // `a` failed; else `b`
        Error error;
    };

    // Visits bytes [from, to) of both files in order. Nothing when every byte visited was read.
    std::optional<Failure> forEach(InputFile& a, InputFile& b, qint64 from, qint64 to,
                                   const Visit& visit);

    // Whether bytes [from, to) of both files are equal; a failed read says which file.
    Result<bool> same(InputFile& a, InputFile& b, qint64 from, qint64 to,
                      std::optional<Failure>* failure = nullptr);

private:
    QByteArray bufferA_;
    QByteArray bufferB_;
};

} // namespace huddlex::fs

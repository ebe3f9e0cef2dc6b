#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace huddlex {

// One play path inside a plan text: where it starts and how many bytes it takes.
struct PathSpan {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// An ordered list of play paths that share their plan text's storage. With an empty start
// marker every position of the text starts a path, so paths overlap heavily; keeping them as
// spans keeps memory linear in the text. Joined lists share their parts' blocks.
class PlayPathList {
public:
    PlayPathList() = default;
    PlayPathList(QByteArray text, std::vector<PathSpan> spans);

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }

    // The bytes of entry i, exactly as in the plan text.
    QByteArrayView at(qsizetype i) const;
    // Entry i as a string: each plan byte is one character (Latin-1), so it converts back
    // byte for byte.
    QString entry(qsizetype i) const;
    QStringList toStringList() const;

    // Visits every entry in order; stops early when the visitor returns false.
    void forEach(const std::function<bool(qsizetype index, QByteArrayView path)>& visit) const;

    // Appends the entries of `other`, sharing its storage.
    void append(const PlayPathList& other);

private:
    struct Block {
        QByteArray text;
        std::shared_ptr<const std::vector<PathSpan>> spans;
        qsizetype first = 0; // index of the block's first entry in the whole list
    };
    std::vector<Block> blocks_;
    qsizetype size_ = 0;
};

// The largest plan text the spans can address.
inline constexpr qsizetype kMaxPlanTextBytes = 0xFFFFFFFFll;

// Length of the path that begins at `pathPos`: from there through the end of the first
// `endMarker` found at or after `searchPos`; 0 when there is none. Positions are 0-based.
qsizetype PlayPathLength(QByteArrayView text, qsizetype searchPos, qsizetype endLength,
                         qsizetype pathPos, QByteArrayView endMarker);

// Every path that begins with `startMarker` and reaches to the first `endMarker` after it, in
// text order. The byte right after a start marker is never taken as the start of another; the
// search then goes on inside the path just found. An empty start marker matches at every position.
// `text` must not exceed kMaxPlanTextBytes.
PlayPathList ExtractPlayPaths(const QByteArray& text, QByteArrayView startMarker,
                              QByteArrayView endMarker);

} // namespace huddlex

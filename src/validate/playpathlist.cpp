#include "validate/playpathlist.h"

#include <algorithm>

namespace huddlex {

PlayPathList::PlayPathList(QByteArray text, std::vector<PathSpan> spans) {
    size_ = static_cast<qsizetype>(spans.size());
    if (size_ > 0) {
        blocks_.push_back(
            {std::move(text), std::make_shared<const std::vector<PathSpan>>(std::move(spans)), 0});
    }
}

QByteArrayView PlayPathList::at(qsizetype i) const {
    // At most four blocks: a plain scan from the back is as quick as a binary search.
    auto block = std::find_if(blocks_.rbegin(), blocks_.rend(),
                              [i](const Block& b) { return b.first <= i; });
    const PathSpan& span = (*block->spans)[static_cast<size_t>(i - block->first)];
    return QByteArrayView(block->text.constData() + span.offset, span.length);
}

QString PlayPathList::entry(qsizetype i) const {
    return QString::fromLatin1(at(i));
}

QStringList PlayPathList::toStringList() const {
    QStringList list;
    list.reserve(size_);
    forEach([&list](qsizetype, QByteArrayView path) {
        list.append(QString::fromLatin1(path));
        return true;
    });
    return list;
}

void PlayPathList::forEach(
    const std::function<bool(qsizetype index, QByteArrayView path)>& visit) const {
    for (const Block& block : blocks_) {
        qsizetype index = block.first;
        const char* base = block.text.constData();
        for (const PathSpan& span : *block.spans) {
            if (!visit(index++, QByteArrayView(base + span.offset, span.length))) {
                return;
            }
        }
    }
}

void PlayPathList::append(const PlayPathList& other) {
    for (const Block& block : other.blocks_) {
        blocks_.push_back({block.text, block.spans, size_ + block.first});
    }
    size_ += other.size_;
}

qsizetype PlayPathLength(QByteArrayView text, qsizetype searchPos, qsizetype endLength,
                         qsizetype pathPos, QByteArrayView endMarker) {
    const QByteArrayView marker = endMarker.first(std::min(endLength, endMarker.size()));
    for (qsizetype i = std::max<qsizetype>(searchPos, 0); i < text.size(); ++i) {
        if (i + marker.size() <= text.size() && text.sliced(i, marker.size()) == marker) {
            return i + marker.size() - pathPos;
        }
    }
    return 0;
}

PlayPathList ExtractPlayPaths(const QByteArray& text, QByteArrayView startMarker,
                              QByteArrayView endMarker) {
    const qsizetype textLength = text.size();
    const qsizetype startLength = startMarker.size();
    const qsizetype endLength = endMarker.size();
    std::vector<PathSpan> spans;
    if (textLength > kMaxPlanTextBytes) {
        return {};
    }

    // Search positions only grow, so the end marker found for one path serves every later
    // path whose search starts at or before it: one pass over the text in all.
    qsizetype nextEnd = -1;
    auto endAtOrAfter = [&](qsizetype from) -> qsizetype {
        if (nextEnd < from) {
            nextEnd = from < textLength ? text.indexOf(endMarker, from) : -1;
            if (nextEnd < 0) {
                nextEnd = textLength; // none left
            }
        }
        return nextEnd < textLength ? nextEnd : -1;
    };

    qsizetype pos = 0;
    while (pos < textLength) {
        if (startLength > 0) {
            pos = text.indexOf(startMarker, pos);
            if (pos < 0) {
                break;
            }
        }
        const qsizetype end = endAtOrAfter(pos + startLength);
        if (end < 0) {
            break; // no end marker after this start, nor after any later one
        }
        const qsizetype length = end + endLength - pos;
        if (length > 0) {
            spans.push_back({static_cast<std::uint32_t>(pos), static_cast<std::uint32_t>(length)});
        }
        pos += startLength + 1;
    }
    return PlayPathList(text, std::move(spans));
}

} // namespace huddlex

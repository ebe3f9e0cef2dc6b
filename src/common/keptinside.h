#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>

namespace huddlex {

// `topLeft` moved as little as possible to bring a frame of size `frame` inside `available`;
// a frame larger than the area keeps its top left corner in it.
inline QPoint keptInside(const QRect& available, const QSize& frame, QPoint topLeft) {
    topLeft.setX(std::clamp(topLeft.x(), available.left(),
                            std::max(available.left(), available.right() + 1 - frame.width())));
    topLeft.setY(std::clamp(topLeft.y(), available.top(),
                            std::max(available.top(), available.bottom() + 1 - frame.height())));
    return topLeft;
}

} // namespace huddlex

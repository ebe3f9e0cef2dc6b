#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace huddlex::help {

// Where the frame of a window of size `frame` goes so that it stands beside `owner` (a frame
// rectangle) inside `available` without covering it: to its left, else to its right, above or
// below, the first side with room, `gap` pixels away and lined up with the owner's lower or
// right edge. Where no side has room, the spot inside `available` that covers the least of
// the owner.
QPoint placeBeside(const QRect& available, const QRect& owner, const QSize& frame, int gap = 8);

} // namespace huddlex::help

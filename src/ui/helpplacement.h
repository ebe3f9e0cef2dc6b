#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace huddlex::help {

// Where the frame of a window of size `frame` goes so that it stands beside `owner` (a frame
// rectangle) inside `available` without covering it: to its left, else to its right, above or
// below, the first side with room, `gap` pixels away and lined up with the owner's lower or
// right edge. Where no side has room, the spot inside `available` that covers the least of
// the owner.
QPoint placeBeside(const QRect& available, const QRect& owner, const QSize& frame, int gap = 8);

// Moves `window`, not shown yet, beside `owner` on the owner's screen as placeBeside says;
// centred on that screen while the owner is hidden. The window has no frame until shown: it
// will get one like the owner's.
void moveBeside(QWidget& window, const QWidget& owner);

} // namespace huddlex::help

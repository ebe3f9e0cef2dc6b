#include "ui/helpplacement.h"

#include "common/keptinside.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>

namespace huddlex::help {

namespace {

qint64 area(const QRect& r) {
    return r.isValid() ? qint64(r.width()) * r.height() : 0;
}

} // namespace

QPoint placeBeside(const QRect& available, const QRect& owner, const QSize& frame, int gap) {
    const int w = frame.width(), h = frame.height();
    // The main window sits low and to the right: beside it, the help lines up with its lower
    // edge; above or below it, with its right edge.
    const int besideY = owner.bottom() + 1 - h;
    const int stackedX = owner.right() + 1 - w;
    const std::array<QPoint, 4> sides = {
        QPoint(owner.left() - gap - w, besideY),   // left
        QPoint(owner.right() + 1 + gap, besideY),  // right
        QPoint(stackedX, owner.top() - gap - h),   // above
        QPoint(stackedX, owner.bottom() + 1 + gap) // below
    };
    // A side has room when the frame fits there once slid along the owner's edge.
    for (const QPoint& side : sides) {
        const bool horizontal = side.y() == besideY;
        QPoint at = keptInside(available, frame, side);
        if (horizontal ? at.x() != side.x() : at.y() != side.y())
            continue;
        if (available.contains(QRect(at, frame)))
            return at;
    }
    QPoint best = keptInside(available, frame, sides[0]);
    qint64 leastCovered = area(QRect(best, frame).intersected(owner));
    for (const QPoint& side : sides) {
        const QPoint at = keptInside(available, frame, side);
        const qint64 covered = area(QRect(at, frame).intersected(owner));
        if (covered < leastCovered) {
            best = at;
            leastCovered = covered;
        }
    }
    return best;
}

void moveBeside(QWidget& window, const QWidget& owner) {
    const QScreen* screen = owner.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    if (!owner.isVisible()) {
        window.move(available.center() - window.rect().center());
        return;
    }
    const QRect frame = owner.frameGeometry();
    const QSize decoration = frame.size() - owner.size();
    window.move(placeBeside(available, frame, window.size() + decoration));
}

} // namespace huddlex::help

#pragma once

#include <QRect>

// The windows are laid out in twips (1440 to the inch); at 96 dpi 15 twips make a pixel.
namespace huddlex::ui {

// Pixels for `twips` at the primary screen's logical DPI (96 when there is no screen).
int twips(int twips);

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

} // namespace huddlex::ui

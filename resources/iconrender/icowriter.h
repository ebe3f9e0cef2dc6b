#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// A Windows icon file holding `images` (square, 1 to 256 px): 32-bit pictures with an alpha
// channel, the 256 px one PNG-compressed as Windows expects, the others as bitmaps.
QByteArray icoFile(const QList<QImage>& images);

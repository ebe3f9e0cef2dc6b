#pragma once

#include <QByteArrayView>
#include <QString>

namespace huddlex {

// Text in the game's code page, Windows-1252, as Unicode: the host names of the files a plan
// names. Bytes 0x80 to 0x9F are punctuation and a few letters there (not Latin-1's control
// codes); the five bytes the code page leaves undefined map as Windows maps them, to U+0081,
// U+008D, U+008F, U+0090 and U+009D.
QString fromWindows1252(QByteArrayView bytes);

} // namespace huddlex

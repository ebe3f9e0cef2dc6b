#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

namespace huddlex::test {

// One entry of a zip made byte by byte, so that tests can make the archives a hostile coach
// would: any name, any declared size or CRC, the encryption flag without encryption.
struct ZipEntry {
    QByteArray name;
    QByteArray data;                     // what the entry holds, before compression
    bool deflate = true;                 // else stored
    std::optional<quint32> declaredSize; // a size other than data's
    std::optional<quint32> crc;          // a CRC other than data's
    bool encrypted = false;              // the flag alone
    bool deflatedAlready = false;        // data is deflated bytes (with declaredSize and crc)
};

// A zip archive of `entries` (zip64 directory records when there are more than 65,535).
QByteArray MakeZip(const QList<ZipEntry>& entries);

// `size` zero bytes, deflated as one entry's data: a small archive that claims a large play.
ZipEntry ZeroBomb(const QByteArray& name, qint64 size);

} // namespace huddlex::test

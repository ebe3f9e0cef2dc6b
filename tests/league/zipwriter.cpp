#include "zipwriter.h"

#include <QtEndian>
#include <zlib.h>

namespace huddlex::test {

namespace {

void put16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}
void put32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}
void put64(QByteArray& out, quint64 value) {
    const quint64 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 8);
}

// Raw deflate (no zlib header), as zip stores it.
QByteArray deflated(const QByteArray& data) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

quint32 crcOf(const QByteArray& data) {
    return quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
}

} // namespace

ZipEntry ZeroBomb(const QByteArray& name, qint64 size) {
    // Deflated a chunk at a time, so the zeros are never held whole.
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    const QByteArray zeros(1 << 20, '\0');
    QByteArray out;
    char buffer[1 << 16];
    quint32 crc = quint32(crc32(0, nullptr, 0));
    for (qint64 left = size; left >= 0;) {
        const qint64 take = std::min<qint64>(left, zeros.size());
        crc = quint32(crc32(crc, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(take)));
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
        stream.avail_in = uInt(take);
        left -= take;
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            out.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
        if (flush == Z_FINISH)
            break;
    }
    deflateEnd(&stream);
    return ZipEntry{name, out, true, quint32(size), crc, false, true};
}

QByteArray MakeZip(const QList<ZipEntry>& entries) {
    QByteArray out, directory;
    for (const ZipEntry& entry : entries) {
        const QByteArray stored =
            entry.deflate && !entry.deflatedAlready ? deflated(entry.data) : entry.data;
        const quint16 flags = quint16((entry.encrypted ? 0x1 : 0) | 0x800); // UTF-8 names
        const quint16 method = entry.deflate ? 8 : 0;
        const quint32 crc = entry.crc.value_or(crcOf(entry.data));
        const quint32 size = entry.declaredSize.value_or(quint32(entry.data.size()));
        const quint32 offset = quint32(out.size());
        for (QByteArray* header : {&out, &directory}) {
            const bool central = header == &directory;
            put32(*header, central ? 0x02014b50 : 0x04034b50);
            if (central)
                put16(*header, 20);
            put16(*header, 20);
            put16(*header, flags);
            put16(*header, method);
            put16(*header, 0);    // time
            put16(*header, 0x21); // date: 1980-01-01
            put32(*header, crc);
            put32(*header, quint32(stored.size()));
            put32(*header, size);
            put16(*header, quint16(entry.name.size()));
            put16(*header, 0); // extra
            if (central) {
                put16(*header, 0); // comment
                put16(*header, 0); // disk
                put16(*header, 0); // internal attributes
                put32(*header, 0); // external attributes
                put32(*header, offset);
            }
            header->append(entry.name);
        }
        out.append(stored);
    }
    const quint64 count = quint64(entries.size());
    const quint64 directoryAt = quint64(out.size());
    out.append(directory);
    if (count > 0xFFFF) {
        const quint64 recordAt = quint64(out.size());
        put32(out, 0x06064b50);
        put64(out, 44);
        put16(out, 45);
        put16(out, 45);
        put32(out, 0);
        put32(out, 0);
        put64(out, count);
        put64(out, count);
        put64(out, quint64(directory.size()));
        put64(out, directoryAt);
        put32(out, 0x07064b50);
        put32(out, 0);
        put64(out, recordAt);
        put32(out, 1);
    }
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(std::min<quint64>(count, 0xFFFF)));
    put16(out, quint16(std::min<quint64>(count, 0xFFFF)));
    put32(out, quint32(directory.size()));
    put32(out, quint32(directoryAt));
    put16(out, 0);
    return out;
}

} // namespace huddlex::test

#include "settings/inifilecheck.h"

#include <QStringDecoder>

namespace huddlex {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView line) {
    while (!line.isEmpty() && isBlank(line.front()))
        line = line.sliced(1);
    while (!line.isEmpty() && isBlank(line.back()))
        line.chop(1);
    return line;
}

// Quotes close on the line they open and no backslash escapes the line's end.
bool endsOnItsOwnLine(QByteArrayView line) {
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\') {
            if (++i == line.size())
                return false;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ';' && !inQuotes) {
            return true; // the rest is a comment
        }
    }
    return !inQuotes;
}

bool isWellFormedLine(QByteArrayView raw) {
    const QByteArrayView line = trimmed(raw);
    if (line.isEmpty() || line.front() == ';')
        return true;
    if (line.front() == '[')
        return line.size() > 2 && line.back() == ']' && line.indexOf(']') == line.size() - 1;
    const qsizetype equals = line.indexOf('=');
    return equals > 0 && !trimmed(line.first(equals)).isEmpty() &&
           line.first(equals).indexOf('"') < 0 && endsOnItsOwnLine(line);
}

} // namespace

bool isWellFormedIni(QByteArrayView data) {
    if (data.startsWith("\xef\xbb\xbf"))
        data = data.sliced(3);
    for (const char c : data) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\n' && c != '\r') || u == 0x7f)
            return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(data);
    if (utf8.hasError())
        return false;

    qsizetype start = 0;
    while (start <= data.size()) {
        qsizetype end = start;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        if (!isWellFormedLine(data.sliced(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace huddlex

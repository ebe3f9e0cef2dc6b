#include "report/entryresolver.h"

namespace huddlex {

namespace {

// Longest path and name Windows opens.
constexpr qsizetype kMaxPath = 4095;
constexpr qsizetype kMaxName = 255;

// Windows-1252 where it differs from Latin-1; the five unassigned bytes keep their values.
constexpr char16_t kHighHalf[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool separator(char c) {
    return c == '\\' || c == '/';
}

bool windowsNameByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && c != '<' && c != '>' && c != ':' && c != '"' && c != '|' && c != '?' &&
           c != '*';
}

} // namespace

QString FromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? kHighHalf[u - 0x80] : char16_t(u));
    }
    return text;
}

FsEntryResolver::FsEntryResolver(const QString& gameFolder)
    : lookup_(gameFolder.left(std::max<qsizetype>(gameFolder.lastIndexOf(QLatin1Char('\\')), 0))),
      gameFolderLength_(gameFolder.size()) {
    const qsizetype cut = gameFolder.lastIndexOf(QLatin1Char('\\'));
    usable_ = cut >= 0; // no folder to start from
    leadingPart_ = gameFolder.mid(cut + 1);
}

std::optional<fs::FoundFile> FsEntryResolver::resolve(QByteArrayView entry) {
    if (!usable_ || gameFolderLength_ + entry.size() > kMaxPath)
        return std::nullopt;
    int folder = fs::NameLookup::Root;
    QString pending = leadingPart_; // a name may begin in the game folder's text
    qsizetype at = 0;
    while (at <= entry.size()) {
        qsizetype end = at;
        while (end < entry.size() && !separator(entry[end])) {
            if (!windowsNameByte(entry[end]) || end - at >= kMaxName)
                return std::nullopt;
            ++end;
        }
        const QString name = pending + FromWindows1252(entry.sliced(at, end - at));
        pending.clear();
        if (name.size() > kMaxName || name == QLatin1String(".") || name == QLatin1String(".."))
            return std::nullopt;
        if (end == entry.size())
            return name.isEmpty() ? std::nullopt : lookup_.file(folder, name);
        if (!name.isEmpty()) { // doubled separators read as one
            folder = lookup_.folder(folder, name);
            if (folder < 0)
                return std::nullopt;
        }
        at = end + 1;
    }
    return std::nullopt;
}

} // namespace huddlex

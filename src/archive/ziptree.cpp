#include "archive/ziptree.h"

#include "fs/namecase.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>

namespace huddlex::archive::detail {

namespace {

// Longest path and path component the hosts can open.
constexpr qsizetype kMaxPathLength = 4095;
constexpr qsizetype kMaxNameLength = 255;

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString nameProblem(const QString& name) {
    if (name.isEmpty() || name == QLatin1String("/"))
        return QStringLiteral("its name is empty");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("its name holds a control character");
    }
    if (name.contains(QLatin1Char('\\')))
        return QStringLiteral("its name holds a backslash");
    if (name.startsWith(QLatin1Char('/')))
        return QStringLiteral("its name is an absolute path");
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(name).hasMatch())
        return QStringLiteral("its name begins with a drive letter");
    const QString folderless = name.endsWith(QLatin1Char('/')) ? name.chopped(1) : name;
    const QStringList parts = folderless.split(QLatin1Char('/'));
    if (parts.contains(QLatin1String("..")))
        return QStringLiteral("its name leads out of its folder (\"..\")");
    if (parts.contains(QString()) || parts.contains(QLatin1String(".")))
        return QStringLiteral("its name has an empty or \".\" part");
    if (name.size() > kMaxPathLength ||
        std::any_of(parts.begin(), parts.end(),
                    [](const QString& part) { return part.size() > kMaxNameLength; }))
        return QStringLiteral("its name is too long");
    return {};
}

QString zipReason(zip_error_t* error) {
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_NOZIP:
        return QStringLiteral("it is not a zip archive, or it is cut short");
    case ZIP_ER_INCONS:
        return QStringLiteral("it is damaged (its directory does not agree with its entries)");
    case ZIP_ER_MULTIDISK:
        return QStringLiteral("it is one part of an archive split over several files");
    case ZIP_ER_CRC:
        return QStringLiteral("its bytes fail their CRC check (damaged)");
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
    case ZIP_ER_ENCRNOTSUPP:
        return QStringLiteral("it is encrypted");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("it is compressed by a method that cannot be read");
    case ZIP_ER_MEMORY:
        return QStringLiteral("not enough memory");
    default:
        return QString::fromUtf8(zip_error_strerror(error));
    }
}

void ZipTree::build() {
    nodes.push_back({path, {}, {}, {}});
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    const QChar separator = QDir::separator();

    // The folder for `parts`, made as needed.
    const auto folderFor = [&](const QStringList& parts) {
        int node = 0;
        for (const QString& part : parts) {
            auto known = nodes[size_t(node)].folders.constFind(part);
            if (known != nodes[size_t(node)].folders.constEnd()) {
                node = *known;
                continue;
            }
            const int child = int(nodes.size());
            nodes.push_back({nodes[size_t(node)].path + separator + part, {}, {}, {}});
            nodes[size_t(node)].folders.insert(part, child);
            nodes[size_t(node)].entries.push_back({part, fs::Folder::Kind::Folder, false});
            node = child;
        }
        return node;
    };

    // Folders first, so that a file cannot hide a folder of the same name, whatever the order.
    struct Candidate {
        zip_uint64_t index;
        QString name;
        QStringList parts;
    };
    std::vector<Candidate> fileEntries;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        const QString name = raw ? QString::fromUtf8(raw) : QString();
        if (const QString problem = nameProblem(name); !problem.isEmpty()) {
            note(name, QStringLiteral("%1: the entry %2 is not read: %3")
                           .arg(quoted(path), quoted(name), problem));
            continue;
        }
        QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (name.endsWith(QLatin1Char('/'))) {
            folderFor(parts);
            continue;
        }
        const QString last = parts.takeLast();
        folderFor(parts);
        fileEntries.push_back({zip_uint64_t(i), name, parts << last});
    }
    for (Candidate& entry : fileEntries) {
        const QString last = entry.parts.takeLast();
        const int node = folderFor(entry.parts);
        ZipNode& folder = nodes[size_t(node)];
        if (folder.folders.contains(last)) {
            note(entry.name, QStringLiteral("%1: the entry %2 is not read: a folder has its name")
                                 .arg(quoted(path), quoted(entry.name)));
            continue;
        }
        if (folder.files.contains(last)) {
            note(entry.name, QStringLiteral("%1: the entry %2 is there more than once; the first "
                                            "is read")
                                 .arg(quoted(path), quoted(entry.name)));
            continue;
        }
        zip_stat_t stat;
        zip_stat_init(&stat);
        ZipFile file{entry.index, entry.name, 0, {}, {}};
        if (zip_stat_index(zip, entry.index, 0, &stat) != 0) {
            file.unreadable = zipReason(zip_get_error(zip));
        } else {
            file.size = (stat.valid & ZIP_STAT_SIZE)
                            ? qint64(std::min<zip_uint64_t>(stat.size, zip_uint64_t(INT64_MAX)))
                            : 0;
            if (stat.valid & ZIP_STAT_MTIME)
                file.modified = qint64(stat.mtime) * 1000; // the archive's own time, no zone
            if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
                file.unreadable = QStringLiteral("it is encrypted");
            else if ((stat.valid & ZIP_STAT_COMP_METHOD) &&
                     !zip_compression_method_supported(stat.comp_method, 0))
                file.unreadable = QStringLiteral("it is compressed by a method that cannot be "
                                                 "read");
        }
        if (last.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
            nested << entry.name;
        folder.files.insert(last, int(files.size()));
        folder.entries.push_back({last, fs::Folder::Kind::File, false});
        files.push_back(std::move(file));
    }

    // Windows keeps one of two names that differ in letter case only: which, no one can say.
    for (const ZipNode& folder : nodes) {
        std::vector<std::pair<QString, QString>> keyed;
        for (const fs::Folder::Entry& entry : folder.entries)
            keyed.push_back({fs::detail::caseKey(entry.name), entry.name});
        std::sort(keyed.begin(), keyed.end());
        for (size_t i = 1; i < keyed.size(); ++i) {
            if (keyed[i].first != keyed[i - 1].first)
                continue;
            const QString a = folder.path + separator + keyed[i - 1].second;
            const QString b = folder.path + separator + keyed[i].second;
            note(b, QStringLiteral("%1 and %2 differ only in letter case: Windows would keep one "
                                   "of them")
                        .arg(quoted(a), quoted(b)));
        }
    }
}

} // namespace huddlex::archive::detail

#include "report/playlibrary.h"

#include "fs/foldertree.h"

#include <algorithm>
#include <vector>

namespace huddlex {

namespace {

// A path's place in library order: its case-folded form first, then the path itself.
struct OrderKey {
    QString folded;
    QString path;
    bool operator<(const OrderKey& other) const {
        if (const int c = folded.compare(other.folded))
            return c < 0;
        return path.compare(other.path) < 0;
    }
};

OrderKey orderKey(const QString& path) {
    return {path.toCaseFolded(), path};
}

} // namespace

PlayLibrary ScanLibrary(CandidateFiles& files, const GamePaths& paths,
                        const std::optional<fs::Folder>& captureFolder) {
    PlayLibrary library;
    const std::optional<CandidateFiles::FoundFolder> start = files.findFolder(paths.gFBPlayFolder);
    if (!start)
        return library;
    fs::TreeWalk walk;
    walk.skip = [&](const fs::Folder& folder) {
        return captureFolder && folder.isSameFolder(*captureFolder);
    };
    // Folders the plan entries led to are not listed a second time.
    walk.open = [&](const fs::Folder& parent, const QString& name) {
        return files.subfolder(parent, name);
    };
    const fs::Tree tree = fs::listTree(start->folder, QStringLiteral(".ply"), walk);
    library.unlistedFolders = tree.unlistedFolders;
    const QString base =
        start->relativePath.isEmpty() ? QString() : start->relativePath + QLatin1Char('\\');
    // Each path folded once, not at every comparison of the sort.
    std::vector<std::pair<OrderKey, qsizetype>> order;
    order.reserve(static_cast<size_t>(tree.files.size()));
    for (qsizetype i = 0; i < tree.files.size(); ++i)
        order.push_back({orderKey(base + tree.files[i].relativePath), i});
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    library.files.reserve(tree.files.size());
    for (const auto& [key, i] : order)
        library.files.append({key.path, tree.files[i].folder, tree.files[i].name});
    return library;
}

} // namespace huddlex

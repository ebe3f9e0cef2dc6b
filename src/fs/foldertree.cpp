#include "fs/foldertree.h"

#include <utility>
#include <vector>

namespace huddlex::fs {

Tree listTree(const Folder& start, const QString& suffix, const TreeWalk& walk) {
    Tree tree;
    // A list of folders still to walk rather than recursion: a deep tree cannot use up the stack.
    std::vector<std::pair<Folder, QString>> pending{{start, QString()}};
    while (!pending.empty()) {
        const auto [here, relative] = std::move(pending.back());
        pending.pop_back();
        if (here.listError()) {
            ++tree.unlistedFolders;
            continue;
        }
        for (const Folder::Entry& entry : here.entries()) {
            // The cheap tests first: asking whether an entry is hidden costs a stat on Windows.
            const bool file = entry.kind == Folder::Kind::File;
            if (entry.kind == Folder::Kind::Other ||
                (file && !entry.name.endsWith(suffix, Qt::CaseInsensitive)) ||
                (!file && entry.link) || here.isHidden(entry.name))
                continue;
            QString path =
                relative.isEmpty() ? entry.name : relative + QLatin1Char('\\') + entry.name;
            if (file) {
                tree.files.append({here, entry.name, std::move(path)});
            } else {
                Result<Folder> below =
                    walk.open ? walk.open(here, entry.name) : here.subfolder(entry.name);
                if (!below)
                    ++tree.unlistedFolders;
                else if (!walk.skip || !walk.skip(*below))
                    pending.emplace_back(std::move(below).value(), std::move(path));
            }
        }
    }
    return tree;
}

} // namespace huddlex::fs

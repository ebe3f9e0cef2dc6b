#include "support/recorders.h"

#include "fs/filesystem.h"

namespace huddlex::test {

void FolderPlayList::refresh() {
    names = fs::listFiles(folder, QStringLiteral("*.ply"));
    ++refreshes;
}

} // namespace huddlex::test

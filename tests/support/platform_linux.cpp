#include "support/platform.h"

#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace huddlex::test {

void enterScratchProfile(const QString&) {}
void leaveScratchProfile() {}

void makeHidden(const QString&) {} // hidden by its leading dot

bool makeFifo(const QString& hostPath) {
    return ::mkfifo(QFile::encodeName(hostPath).constData(), 0600) == 0;
}

bool folderPermissionsBind() {
    return geteuid() != 0;
}

} // namespace huddlex::test

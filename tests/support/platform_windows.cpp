#include "fs/drivemap.h"
#include "support/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <windows.h>

namespace huddlex::test {

namespace {
HKEY scratchKey = nullptr;
std::wstring scratchPath;
} // namespace

void enterScratchProfile(const QString& driveC) {
    fs::DriveMap::setOverride(QLatin1Char('c'), driveC);
    // Everything written to HKEY_CURRENT_USER lands below a key of this process instead.
    scratchPath = QStringLiteral("Software\\Huddlex tests\\%1")
                      .arg(QCoreApplication::applicationPid())
                      .toStdWString();
    if (RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &scratchKey, nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, scratchKey) != ERROR_SUCCESS)
        qFatal("cannot give the test a registry key of its own");
}

void leaveScratchProfile() {
    fs::DriveMap::setOverride(QLatin1Char('c'), QString());
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(scratchKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Huddlex tests"); // only once it is empty
    scratchKey = nullptr;
}

void makeHidden(const QString& hostPath) {
    const std::wstring path = QDir::toNativeSeparators(hostPath).toStdWString();
    SetFileAttributesW(path.c_str(), GetFileAttributesW(path.c_str()) | FILE_ATTRIBUTE_HIDDEN);
}

bool makeFifo(const QString&) {
    return false;
}

bool folderPermissionsBind() {
    return false;
}

} // namespace huddlex::test

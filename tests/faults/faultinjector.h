#pragma once

#include "fs/faults.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace huddlex::test {

// Fails the k-th file step (read, written chunk, final rename, removal, folder creation)
// whose host path contains `pathPart`, with the given kind; counts the steps it sees.
// Installed for its lifetime.
class FaultInjector {
public:
    explicit FaultInjector(QString pathPart, int failAt = 0,
                           fs::ErrorKind kind = fs::ErrorKind::DiskFull);
    ~FaultInjector();
    FaultInjector(const FaultInjector&) = delete;
    FaultInjector& operator=(const FaultInjector&) = delete;

    int steps() const { return steps_; }
    bool fired() const { return fired_; }

private:
    QString pathPart_;
    int failAt_;
    fs::ErrorKind kind_;
    int steps_ = 0;
    bool fired_ = false;
};

// Every file below a host folder (hidden ones included) with its bytes.
using Snapshot = QMap<QString, QByteArray>;
Snapshot snapshot(const QString& hostFolder);

// Files of `before` that are missing or changed in `after`.
int lostFiles(const Snapshot& before, const Snapshot& after);

// The kinds a failing step is given: a full disk, a plain write error, a refusal.
inline constexpr fs::ErrorKind kFaultKinds[] = {fs::ErrorKind::DiskFull, fs::ErrorKind::Other,
                                                fs::ErrorKind::AccessDenied};
QString kindName(fs::ErrorKind kind);
// The reason the fs layer gives the user for a failure of that kind.
QString reasonShown(fs::ErrorKind kind);

// Fault cases tried and files lost, over one test program; printed at its end.
struct FaultTally {
    static int cases;
    static int lost;
    static void print();
};

} // namespace huddlex::test

// CPU time of running capture while the game does nothing, against the bare event loop over
// the same wall time. Real QTimers, a scratch Wine prefix, the default game folder.
//   bench_captureidle [seconds]   (default 60)
#include "capture/captureengine.h"
#include "capture/qttimerfactory.h"
#include "processstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace huddlex;

namespace {

double cpuOverEventLoop(int seconds) {
    const double before = bench::cpuMs();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    return bench::cpuMs() - before;
}

class NullStatus final : public StatusSink {
public:
    void setPanelText(int, const QString&) override {}
    QString panelText(int) const override { return {}; }
};

class NullList final : public PlayListView {
public:
    void refresh() override {}
    int count() const override { return 0; }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;

    QTemporaryDir prefix;
    qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
    QDir().mkpath(prefix.path() + QStringLiteral("/drive_c/Sierra/FBPro97/Xferbox"));

    MemorySettingsStore store;
    GamePaths paths;
    paths.readFrom(store);
    QtTimerFactory timers;
    NullStatus status;
    NullList file1;
    GameFolders folders(paths, timers);
    folders.check();
    CaptureEngine engine({folders, store, timers, status, file1});

    const double baseline = cpuOverEventLoop(seconds);
    engine.StartCapture();
    const double capture = cpuOverEventLoop(seconds);
    engine.StopCapture();

    std::printf("idle capture, %d s of wall time\n", seconds);
    std::printf("  bare event loop:  %8.2f ms CPU\n", baseline);
    std::printf("  capture running:  %8.2f ms CPU (%.2f ms per second)\n", capture,
                capture / seconds);
    std::printf("  ratio capture / bare loop: %.1f\n", baseline > 0 ? capture / baseline : 0.0);
    return 0;
}

// Time from process start to the first painted main window, on the offscreen platform,
// against a bare Qt window started the same way (the baseline), plus peak memory.
#include "app/maincontroller.h"
#include "capture/qttimerfactory.h"
#include "fs/drivemap.h"
#include "processstats.h"
#include "settings/settingsstore.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// Wall-clock time, comparable between the parent and its children.
qint64 realtimeNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// Reports the first paint of `window` and quits.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            std::printf("%lld %ld\n", static_cast<long long>(realtimeNs()),
                        huddlex::bench::peakMemoryKb());
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool done_ = false;
};

int child(int argc, char* argv[], bool bare) {
    QApplication app(argc, argv);
    FirstPaint probe;
    if (bare) {
        QWidget window;
        window.installEventFilter(&probe);
        window.show();
        return QApplication::exec();
    }
    // Drive C: is the scratch folder the parent made, on Windows as on Linux.
    huddlex::fs::DriveMap::setOverride(QLatin1Char('c'), qEnvironmentVariable("HOME") +
                                                             QStringLiteral("/wine/drive_c"));
    huddlex::NativeSettingsStore store(QStringLiteral("huddlex"));
    huddlex::QtTimerFactory timers;
    huddlex::MainController controller(store, timers);
    controller.Form_Load();
    controller.window().installEventFilter(&probe);
    controller.window().show();
    return QApplication::exec();
}

struct Sample {
    double ms;
    long maxRssKb;
};

Sample runOnce(const QString& program, const QString& mode, const QString& home) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Offscreen unless a platform is asked for (under Wine: the windows platform on Xvfb,
    // asked for with WINEQT_QPA_PLATFORM, as Wine passes no QT_ variable on).
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("WINEPREFIX", home + "/wine");
    process.setProcessEnvironment(env);
    const qint64 start = realtimeNs();
    process.start(program, {mode});
    process.waitForFinished(60000);
    const QStringList fields = QString::fromLatin1(process.readAllStandardOutput()).split(' ');
    if (fields.size() < 2)
        return {-1, 0};
    return {(fields[0].toLongLong() - start) / 1e6, fields[1].trimmed().toLong()};
}

Sample median(std::vector<Sample> samples) {
    std::sort(samples.begin(), samples.end(), [](auto a, auto b) { return a.ms < b.ms; });
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && (qstrcmp(argv[1], "--huddlex") == 0 || qstrcmp(argv[1], "--bare") == 0))
        return child(argc, argv, qstrcmp(argv[1], "--bare") == 0);

    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    QDir().mkpath(home.path() + "/wine/drive_c/Sierra/FBPro97");
    const int runs = 9;
    std::vector<Sample> bare, huddlex;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(runOnce(QCoreApplication::applicationFilePath(), "--bare", home.path()));
        huddlex.push_back(
            runOnce(QCoreApplication::applicationFilePath(), "--huddlex", home.path()));
    }
    const Sample b = median(bare), h = median(huddlex);
    QTextStream out(stdout);
    out << "start to first paint, median of " << runs << " runs ("
        << qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen") << ")\n";
    out << "  bare Qt window (baseline): " << b.ms << " ms, peak " << b.maxRssKb / 1024.0
        << " MiB\n";
    out << "  Huddlex main window:       " << h.ms << " ms, peak " << h.maxRssKb / 1024.0
        << " MiB\n";
    out << "  ratio: " << h.ms / b.ms << "x time, " << double(h.maxRssKb) / b.maxRssKb
        << "x memory\n";
    return 0;
}

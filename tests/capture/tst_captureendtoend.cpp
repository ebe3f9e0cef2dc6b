// The real main window, offscreen, with real timers: the game writes two plays, capture
// takes both. The timing rules themselves are tested on the simulated clock.
#include "app/maincontroller.h"
#include "capture/qttimerfactory.h"
#include "fakegame.h"
#include "support/gamefolder.h"
#include "support/recorders.h"
#include "support/tempenvironment.h"
#include "ui/mainwindow.h"
#include "ui/playlists.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

// Waits, letting the window's events run, until `path` exists; returns when it appeared.
std::optional<QDateTime> waitForFile(const QString& path, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        if (QFileInfo::exists(path))
            return QDateTime::currentDateTime();
        QTest::qWait(5);
    }
    return std::nullopt;
}

} // namespace

class CaptureEndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void capturesTwoPlaysFromTheGame() {
        TempEnvironment env;
        GameFolder game(env);
        fakegame::FakeGame fake({game.host(), 11, QStringLiteral("VPNFL")});
        QVERIFY(fake.init());
        QVERIFY(fake.writePlans());

        MemorySettingsStore store;
        QtTimerFactory timers;
        RecordingNotifier notifier;
        MainController::Seams seams;
        seams.notifier = &notifier;
        seams.askDeleteLeftovers = [] { return false; };
        MainController controller(store, timers, seams);
        controller.Form_Load();
        controller.window().show();
        QVERIFY(QFileInfo(game.captureHost()).isDir());

        controller.window().toolbarButton(1)->trigger(); // bStart
        QCOMPARE(controller.window().StatusBar1().panelText(1), QString("Status: Running"));

        for (int number = 0; number < 2; ++number) {
            const auto play = fake.writePlay();
            QVERIFY(play);
            const QString captured = game.capturedHost(QString("FBplay%1.ply").arg(number));
            const auto appeared = waitForFile(captured, 9000);
            QVERIFY2(appeared, qPrintable(captured));
            qInfo("play %d: temp file modified to captured file present: %lld ms", number,
                  play->modified.msecsTo(*appeared));
            QCOMPARE(TempEnvironment::readHostFile(captured), play->bytes);
            QCOMPARE(controller.capture().PlayCount(), number + 1);
            QCOMPARE(controller.window().StatusBar1().panelText(2),
                     QString("Plays: %1").arg(number + 1));
        }
        QCOMPARE(controller.window().File1().count(), 2);
        QVERIFY(notifier.messages.isEmpty());

        controller.window().toolbarButton(2)->trigger(); // bStop
        QCOMPARE(controller.window().StatusBar1().panelText(1), QString("Status: Stop"));
    }
};

QTEST_MAIN(CaptureEndToEndTest)
#include "tst_captureendtoend.moc"

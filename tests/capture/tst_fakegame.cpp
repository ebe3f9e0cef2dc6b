// The stand-in for the game: deterministic, and its files look the way capture and the
// plan reader rely on.
#include "capturerig.h"
#include "fakegame.h"

#include <QProcess>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;
using fakegame::FakeGame;

namespace {

FakeGame gameIn(const GameFolder& folder, quint32 seed = 7) {
    return FakeGame({folder.host(), seed, QStringLiteral("VPNFL")});
}

// Fields as a reader that splits at commas and line ends sees them.
QList<QByteArray> fieldsOf(const QByteArray& text) {
    QByteArray normalised = text;
    normalised.replace("\r\n", ",").replace('\r', ',').replace('\n', ',');
    return normalised.split(',');
}

} // namespace

class FakeGameTest : public QObject {
    Q_OBJECT
private slots:
    void theSeedDecidesEveryByte() {
        TempEnvironment env;
        GameFolder folder(env);
        const FakeGame a = gameIn(folder, 7), b = gameIn(folder, 7), c = gameIn(folder, 8);
        QCOMPARE(a.library(), b.library());
        QCOMPARE(a.library().size(), 16);
        QCOMPARE(a.playBytes(a.library()[3]), b.playBytes(b.library()[3]));
        QVERIFY(a.playBytes(a.library()[3]) != c.playBytes(a.library()[3]));
        for (int plan = 0; plan < 4; ++plan)
            QCOMPARE(a.planPlays(plan), b.planPlays(plan));
    }

    void libraryPlaysShareAHeaderAndDiffer() {
        TempEnvironment env;
        GameFolder folder(env);
        FakeGame game = gameIn(folder);
        QVERIFY(game.init());
        QSet<QByteArray> seen;
        for (const QString& play : game.library()) {
            QVERIFY(play.startsWith("VPNFL\\") && play.endsWith(".ply"));
            const QByteArray bytes =
                TempEnvironment::readHostFile(folder.hostFile(QString(play).replace('\\', '/')));
            QCOMPARE(bytes, game.playBytes(play));
            QVERIFY(bytes.size() >= 2048 && bytes.size() < 8192);
            QVERIFY(bytes.startsWith("FBPRO PLAY"));
            seen.insert(bytes);
        }
        QCOMPARE(seen.size(), game.library().size());
    }

    void plansNamePlaysAsWholeFields() {
        TempEnvironment env;
        GameFolder folder(env);
        FakeGame game = gameIn(folder);
        QVERIFY(game.writePlans());
        const QStringList names = FakeGame::planTempNames();
        for (int plan = 0; plan < 4; ++plan) {
            const QByteArray text = TempEnvironment::readHostFile(folder.hostFile(names[plan]));
            QStringList named;
            for (const QByteArray& field : fieldsOf(text)) {
                if (field.contains("VPNFL"))
                    named << QString::fromLatin1(field);
            }
            QCOMPARE(named, game.planPlays(plan));
            QVERIFY(!named.isEmpty());
            for (const QString& play : named)
                QVERIFY(game.library().contains(play));
        }
    }

    void playsMoveTheTimeForwardAndLogTheirReference() {
        TempEnvironment env;
        GameFolder folder(env);
        FakeGame game = gameIn(folder);
        QVERIFY(game.init());
        QVERIFY(game.writePlans());
        QDateTime last;
        for (int i = 0; i < 5; ++i) {
            const bool unknown = i == 3;
            const QString expectedSource = game.nextPlayPath();
            const auto play = game.writePlay(unknown);
            QVERIFY(play);
            QCOMPARE(play->number, i);
            QVERIFY(play->modified > last); // even when written within one millisecond
            last = play->modified;
            QCOMPARE(QFileInfo(folder.hostFile("FBPlay~.tmp")).lastModified(), play->modified);
            QCOMPARE(TempEnvironment::readHostFile(folder.hostFile("FBPlay~.tmp")), play->bytes);
            if (unknown) {
                QVERIFY(play->playPath.isEmpty());
                for (const QString& p : game.library())
                    QVERIFY(!game.playBytes(p).startsWith(play->bytes));
            } else {
                QCOMPARE(play->playPath, expectedSource);
                QCOMPARE(play->bytes, game.playBytes(play->playPath));
            }
        }
        const QByteArray log = TempEnvironment::readHostFile(folder.hostFile("play.log"));
        QVERIFY(log.endsWith("\r\n"));
        QCOMPARE(log.count("FBPlay~"), 5);
        QCOMPARE(log.count("\r\n"), 6); // the header line and one per play
        QCOMPARE(log.count('\n'), 6);
    }

    void theCommandPlaysAGame() {
        TempEnvironment env;
        GameFolder folder(env);
        auto run = [&](const QStringList& args) {
            QProcess p;
            p.start(QStringLiteral(FAKEGAME_PATH), args);
            return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode()
                                                                                      : -1;
        };
        QCOMPARE(run({"init", "--seed", "9", folder.host()}), 0);
        QCOMPARE(run({"game", "--plays", "2", "--interval-ms", "0", folder.host()}), 0);
        QCOMPARE(run({"play", "--unknown", folder.host()}), 0);
        QVERIFY(run({"bogus", folder.host()}) != 0);
        QVERIFY(run({}) != 0);

        const FakeGame same = gameIn(folder, 9); // init remembered the seed
        for (const QString& name : FakeGame::planTempNames())
            QVERIFY(QFileInfo(folder.hostFile(name)).isFile());
        QCOMPARE(TempEnvironment::readHostFile(folder.hostFile("play.log")).count("FBPlay~"), 3);
        QVERIFY(QFileInfo(folder.hostFile(QString(same.library()[0]).replace('\\', '/'))).isFile());
    }

    // Capture of a fakegame game on the simulated clock: plans and plays byte for byte.
    void captureTakesWhatTheGameWrites() {
        CaptureRig rig;
        FakeGame game = gameIn(rig.game);
        QVERIFY(game.init());
        QVERIFY(game.writePlans());
        rig.engine.StartCapture();
        QList<QByteArray> sent;
        for (int i = 0; i < 3; ++i) {
            sent << game.writePlay(i == 1)->bytes;
            rig.clock.advance(8000);
        }
        rig.clock.advance(30'000 + 10 * 60'000 + 60'000 + 10 * 60'000);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rig.game.captured(QString("FBplay%1.ply").arg(i)), sent[i]);
        const QStringList names = FakeGame::planTempNames();
        const QStringList captured{"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"};
        for (int plan = 0; plan < 4; ++plan)
            QCOMPARE(rig.game.captured(captured[plan]),
                     TempEnvironment::readHostFile(rig.game.hostFile(names[plan])));
        QCOMPARE(rig.engine.PlayCount(), 3);
    }
};

QTEST_GUILESS_MAIN(FakeGameTest)
#include "tst_fakegame.moc"

#include "league/leaguecheck.h"
#include "leaguerig.h"
#include "support/gamefolder.h"
#include "validate/fbplan.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

enum class PoolForm { ZipHolding, ZipIs, FolderHolding, FolderIs };

// How the play folder is named on disk where the pool holds it (Validate's game folder
// holds it the same way).
QString playFolderOnDisk(PoolForm form) {
    return form == PoolForm::FolderHolding ? "vpnfl/" : "VPNFL/";
}

// The pool written in `form` below `root`; its path.
QString writePool(const QString& root, const Files& pool, PoolForm form) {
    switch (form) {
    case PoolForm::ZipHolding:
        WriteHostFile(root + "/pool.zip", ZipOf(pool, "VPNFL/"));
        return root + "/pool.zip";
    case PoolForm::ZipIs:
        WriteHostFile(root + "/pool.zip", ZipOf(pool));
        return root + "/pool.zip";
    case PoolForm::FolderHolding:
        WriteFiles(root + "/pool", pool, playFolderOnDisk(form));
        return root + "/pool";
    case PoolForm::FolderIs:
        WriteFiles(root + "/VPNFL", pool);
        return root + "/VPNFL";
    }
    return {};
}

// Each game in a form of its own: a zip of the capture folder's parent, a zip of the whole
// game folder, or the game folder itself.
void writeGame(const QString& week, int index, const Files& game) {
    const QString name = QStringLiteral("%1/game%2").arg(week).arg(index);
    switch (index % 3) {
    case 0:
        WriteHostFile(name + ".zip", ZipOf(game));
        break;
    case 1:
        WriteHostFile(name + ".zip", ZipOf(game, "Sierra/FBPro97/"));
        break;
    default:
        WriteFiles(name, game);
    }
}

// The plan paths the pool lacks, by a plain reading: every quoted field of the plan.
QStringList expectedGaps(const QByteArray& plan, const Files& pool) {
    QStringList present;
    for (const auto& file : pool)
        present << file.first.toCaseFolded();
    QStringList gaps;
    static const QRegularExpression quoted("\"(VPNFL\\\\[^\"]*)\"");
    for (const auto& m : quoted.globalMatch(QString::fromLatin1(plan))) {
        const QString path = m.captured(1);
        const QString inPool = path.mid(6).replace('\\', '/').toCaseFolded();
        if (!present.contains(inPool) && !gaps.contains(path))
            gaps << path;
    }
    return gaps;
}

} // namespace

class LeagueCheckTest : public QObject {
    Q_OBJECT
private slots:
    // Every outcome, verdict and plan gap of the check equals what Validate and its report give
    // on the same files unpacked into a game folder whose play folder is the pool.
    void equalsValidate_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("form");
        for (quint32 seed : {1u, 2u, 3u}) {
            for (PoolForm form : {PoolForm::ZipHolding, PoolForm::ZipIs, PoolForm::FolderHolding,
                                  PoolForm::FolderIs})
                QTest::addRow("seed %u form %d", seed, int(form)) << seed << int(form);
        }
    }
    void equalsValidate() {
        QFETCH(quint32, seed);
        QFETCH(int, form);
        const GeneratedLeague league = GenerateLeague(seed * 7 + quint32(form), 5);
        TempEnvironment env;
        const QString pool = writePool(env.root(), league.pool, PoolForm(form));
        const QString week = env.root() + "/week";
        for (int g = 0; g < league.games.size(); ++g)
            writeGame(week, g, league.games[g]);
        QDir().mkpath(week + "/notes"); // not a game: left out

        int calls = 0;
        const league::LeagueResult result = league::LeagueCheck(pool, "VPNFL", {week})
                                                .run([&](int done, int total, const QString&) {
                                                    QCOMPARE(done, calls++);
                                                    QCOMPARE(total, int(league.games.size()));
                                                });
        QCOMPARE(calls, int(league.games.size()) + 1);
        QVERIFY2(result.pool.error.isEmpty(), qPrintable(result.pool.error));
        QCOMPARE(result.pool.holdsPlayFolder,
                 form == int(PoolForm::ZipHolding) || form == int(PoolForm::FolderHolding));
        QCOMPARE(result.pool.plays, league.pool.size());
        QCOMPARE(result.games.size(), league.games.size());

        GameFolder folder(env);
        QHash<QByteArray, QSet<int>> unknownIn; // bytes -> games where they are unknown
        for (int g = 0; g < league.games.size(); ++g) {
            const league::LeagueGame& game = result.games[g];
            QVERIFY2(game.checked(), qPrintable(game.error));
            QCOMPARE(game.problems, QStringList());
            QDir(folder.host()).removeRecursively();
            WriteFiles(folder.host(), league.pool, playFolderOnDisk(PoolForm(form)));
            WriteFiles(folder.host(), league.games[g]);
            QCOMPARE(LeagueLines(game), ValidateLines());

            for (const league::GamePlan& plan : game.plans) {
                const auto file = std::find_if(
                    league.games[g].begin(), league.games[g].end(),
                    [&](const auto& f) { return f.first == "Xferbox/" + plan.summary.file; });
                QCOMPARE(plan.gaps, expectedGaps(file->second, league.pool));
            }
            for (const PlayEntry& play : game.plays) {
                if (play.isUnknownOutcome() && play.verdict != Verdict::Missing)
                    unknownIn[folder.captured(play.file)].insert(g);
            }
        }
        QSet<QByteArray> repeated, expected;
        for (const league::RepeatedPlay& play : result.repeated)
            repeated.insert(play.sha256);
        for (auto it = unknownIn.begin(); it != unknownIn.end(); ++it) {
            if (it->size() > 1)
                expected.insert(
                    QCryptographicHash::hash(it.key(), QCryptographicHash::Sha256).toHex());
        }
        QCOMPARE(repeated, expected);
        QCOMPARE(int(result.status()), result.unknown() + result.gaps() > 0 ? 1 : 0);
    }

    // Stopped from elsewhere, the check ends before the next game with what it has.
    void cancels() {
        const GeneratedLeague league = GenerateLeague(9, 3);
        TempEnvironment env;
        const QString pool = writePool(env.root(), league.pool, PoolForm::ZipHolding);
        QStringList games;
        for (int g = 0; g < 3; ++g) {
            writeGame(env.root(), g, league.games[g]);
            games << env.root() + QStringLiteral("/game%1%2").arg(g).arg(g % 3 == 2 ? "" : ".zip");
        }
        std::atomic_bool cancel = false;
        const league::LeagueResult result =
            league::LeagueCheck(pool, "VPNFL", games)
                .run([&](int done, int, const QString&) { cancel = done == 1; }, &cancel);
        QVERIFY(result.cancelled);
        QCOMPARE(result.games.size(), 1);
    }

    // A pool that cannot be read leaves every game unchecked, each saying why.
    void unreadablePool() {
        TempEnvironment env;
        WriteHostFile(env.root() + "/pool.zip", "not a zip at all");
        WriteFiles(env.root() + "/game", GenerateLeague(4, 1).games.first());
        const league::LeagueResult result =
            league::LeagueCheck(env.root() + "/pool.zip", "VPNFL", {env.root() + "/game"}).run();
        QVERIFY(result.pool.error.contains("it is not a zip archive, or it is cut short"));
        QCOMPARE(result.games.size(), 1);
        QCOMPARE(result.games[0].error, "Not checked: the pool could not be read");
        QCOMPARE(result.status(), league::LeagueStatus::Unreadable);
    }
};

QTEST_GUILESS_MAIN(LeagueCheckTest)
#include "tst_leaguecheck.moc"

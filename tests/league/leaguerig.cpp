#include "leaguerig.h"

#include "capture/capturedplays.h"
#include "settings/settingsstore.h"
#include "support/recorders.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"
#include "zipwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace huddlex::test {

namespace {

QByteArray noise(QRandomGenerator& random, int n) {
    QByteArray bytes(n, '\0');
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

// `name` in a letter case picked by the dice.
QString recased(QRandomGenerator& random, const QString& name) {
    switch (random.bounded(3)) {
    case 0:
        return name.toUpper();
    case 1:
        return name.toLower();
    default:
        return name;
    }
}

} // namespace

GeneratedLeague GenerateLeague(quint32 seed, int games) {
    QRandomGenerator random(seed);
    GeneratedLeague league;
    const QStringList folders{"Off/Run", "Off/Pass", "Def/Blitz", "Def/Zone", "Spec"};
    const QByteArray header = QByteArray("FBPRO PLAY ").leftJustified(40, '\0');
    QList<QByteArray> contents;
    QStringList paths;
    for (int i = 0; i < 40; ++i) {
        QByteArray play;
        if (i >= 8 && random.bounded(3) == 0) { // a family member: a few bytes changed
            play = contents[random.bounded(i)];
            for (int k = 0; k < 3; ++k)
                play[random.bounded(int(play.size()))] ^= char(1 + random.bounded(255));
        } else if (i >= 8 && random.bounded(5) == 0) { // a longer version of another
            play = contents[random.bounded(i)] + noise(random, 1 + random.bounded(300));
        } else {
            play = header + noise(random, random.bounded(1, i % 13 == 0 ? 70'000 : 3000));
        }
        contents << play;
        paths << QStringLiteral("%1/Play%2.ply").arg(folders[i % folders.size()]).arg(i);
        league.pool.append({paths.last(), play});
    }
    league.pool.append({"Spec/Empty.ply", QByteArray()});
    const QList<QByteArray> shared{header + noise(random, 500), header + noise(random, 900)};

    for (int g = 0; g < games; ++g) {
        Files game;
        QList<int> named;
        const char* plans[] = {"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"};
        for (const char* plan : plans) {
            QByteArray text = "\"Game plan\",1997\r\n";
            for (int k = random.bounded(2, 9); k > 0; --k) {
                const int pick = random.bounded(int(paths.size()) + 3);
                QString entry =
                    pick < paths.size() ? paths[pick] : QStringLiteral("Off/Gone%1.ply").arg(pick);
                QStringList parts = entry.split('/');
                for (QString& part : parts)
                    part = recased(random, part);
                parts.last() = parts.last().chopped(4) + ".ply"; // the end marker is exact
                text += "\"VPNFL\\" + parts.join('\\').toLatin1() + "\"," + QByteArray::number(k) +
                        "\r\n";
                if (pick < paths.size())
                    named << pick;
            }
            game.append({QStringLiteral("Xferbox/%1").arg(plan), text});
        }
        const int plays = random.bounded(4, 16);
        for (int n = 0; n < plays; ++n) {
            if (random.bounded(10) == 0)
                continue; // a gap in the numbers
            QByteArray play;
            const QByteArray& some = contents[random.bounded(int(contents.size()))];
            const QByteArray& planned =
                named.isEmpty() ? some : contents[named[random.bounded(int(named.size()))]];
            switch (random.bounded(8)) {
            case 0:
                play = some;
                break;
            case 1:
                play = planned.left(random.bounded(1, int(planned.size()) + 1));
                break;
            case 2:
                play = planned;
                play[random.bounded(int(play.size()))] ^= 0x5a;
                break;
            case 3:
                play = planned + noise(random, random.bounded(1, 40));
                break;
            case 4:
                play = shared[random.bounded(2)];
                break;
            case 5:
                play = random.bounded(3) == 0 ? QByteArray() : noise(random, 700);
                break;
            default:
                play = planned;
            }
            const QString name = random.bounded(6) == 0 ? QStringLiteral("fbplay%1.PLY").arg(n)
                                                        : QStringLiteral("FBplay%1.ply").arg(n);
            game.append({QStringLiteral("Xferbox/") + name, play});
        }
        league.games << game;
    }
    return league;
}

void WriteHostFile(const QString& hostPath, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(hostPath).path());
    QFile file(hostPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(hostPath));
}

void WriteFiles(const QString& hostFolder, const Files& files, const QString& prefix) {
    for (const auto& [path, bytes] : files)
        WriteHostFile(hostFolder + QLatin1Char('/') + prefix + path, bytes);
}

QByteArray ZipOf(const Files& files, const QString& prefix) {
    QList<ZipEntry> entries;
    for (const auto& [path, bytes] : files) {
        ZipEntry entry;
        entry.name = (prefix + path).toUtf8();
        entry.data = bytes;
        entries.append(entry);
    }
    return MakeZip(entries);
}

QString PlayLine(const QString& outcome, const PlayEntry& play) {
    QStringList words{outcome, VerdictName(play.verdict)};
    words += play.namedBy;
    words << play.match << play.nearest << QString::number(play.differingBytes)
          << (play.bytes ? QString::number(*play.bytes) : QStringLiteral("none"));
    return words.join(QLatin1Char(' '));
}

QStringList ValidateLines() {
    MemorySettingsStore store;
    GamePaths paths;
    FBPlan plan;
    PlanFields fields;
    RecordingNotifier notifier;
    ReadGamePlans(paths, store, plan, notifier, &fields);
    const CapturedPlays captures = CapturedPlays::list(paths);
    Identification run = IdentifyPlays(plan, paths, captures);
    const QStringList outcomes = run.outcomes;
    const ReportInput input =
        RunInput(paths.gameFolder(), paths, fields, plan.gPlayFiles, captures, std::move(run));
    const ValidationReport report = BuildReport(input);
    QStringList lines;
    for (qsizetype i = 0; i < report.plays.size(); ++i)
        lines << PlayLine(outcomes[i], report.plays[i]);
    return lines;
}

QStringList LeagueLines(const league::LeagueGame& game) {
    QStringList lines;
    for (qsizetype i = 0; i < game.plays.size(); ++i)
        lines << PlayLine(game.outcomes.value(i), game.plays[i]);
    return lines;
}

QByteArray edited(QByteArray bytes) {
    for (int at : {20, 21, 300})
        bytes[at] = '#';
    return bytes;
}

Files SampleGame(const QByteArray& off1, const QList<QByteArray>& plays) {
    Files files{{"Xferbox/XOff1.pln", off1},
                {"Xferbox/XDef1.pln", ""},
                {"Xferbox/XOff2.pln", ""},
                {"Xferbox/XDef2.pln", "\"VPNFL\\Def\\Blitz.ply\"\r\n"}};
    for (int n = 0; n < plays.size(); ++n)
        files.append({QStringLiteral("Xferbox/FBplay%1.ply").arg(n), plays[n]});
    return files;
}

} // namespace huddlex::test

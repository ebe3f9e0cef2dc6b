// fakegame: plays FBPro's side of a transferred game in a game folder, for tests and demos.
#include "fakegame.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTextStream>
#include <QThread>

using huddlex::fakegame::FakeGame;
using huddlex::fakegame::Options;

namespace {

const char* kDescription =
    "Plays the game's side of a transferred game in GAME_FOLDER (a host folder).\n"
    "\n"
    "Commands:\n"
    "  init    build the play library under the main play folder and an empty play.log\n"
    "  plans   write the plan temp files FBOff1~.pln, FBDef1~.pln, FBOff2~.pln, FBDef2~.pln\n"
    "  play    write the next play into FBPlay~.tmp and add its line to play.log\n"
    "  game    plans, then --plays plays, --interval-ms apart (runs init when needed)\n"
    "  list    print the library's play paths\n"
    "\n"
    "init remembers the seed and play folder in GAME_FOLDER/.fakegame; later commands use\n"
    "them unless --seed or --play-folder is given.";

QTextStream& err() {
    static QTextStream s(stderr);
    return s;
}

int fail(const QString& text) {
    err() << "fakegame: " << text << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fakegame"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("init, plans, play, game or list"));
    parser.addPositionalArgument(QStringLiteral("GAME_FOLDER"), QStringLiteral("the game folder"));
    const QCommandLineOption seedOpt(QStringLiteral("seed"), QStringLiteral("seed (default 1)"),
                                     QStringLiteral("N"));
    const QCommandLineOption folderOpt(QStringLiteral("play-folder"),
                                       QStringLiteral("main play folder name (default VPNFL)"),
                                       QStringLiteral("NAME"));
    const QCommandLineOption pairOpt(
        QStringLiteral("pair"), QStringLiteral("plans: only pair 1 or 2"), QStringLiteral("P"));
    const QCommandLineOption unknownOpt(
        QStringLiteral("unknown"),
        QStringLiteral("play: send an altered play that matches nothing"));
    const QCommandLineOption playsOpt(QStringLiteral("plays"),
                                      QStringLiteral("game: number of plays (default 3)"),
                                      QStringLiteral("K"), QStringLiteral("3"));
    const QCommandLineOption intervalOpt(QStringLiteral("interval-ms"),
                                         QStringLiteral("game: time between plays (default 8000)"),
                                         QStringLiteral("M"), QStringLiteral("8000"));
    parser.addOptions({seedOpt, folderOpt, pairOpt, unknownOpt, playsOpt, intervalOpt});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return fail(QStringLiteral("expected a command and GAME_FOLDER (see --help)"));
    const QString command = args[0];

    Options options;
    options.gameFolder = QDir(args[1]).absolutePath();
    QSettings saved(QDir(options.gameFolder).filePath(QStringLiteral(".fakegame")),
                    QSettings::IniFormat);
    options.seed = saved.value(QStringLiteral("seed"), 1).toUInt();
    options.playFolder = saved.value(QStringLiteral("playFolder"), options.playFolder).toString();
    bool ok = true;
    if (parser.isSet(seedOpt))
        options.seed = parser.value(seedOpt).toUInt(&ok);
    if (!ok)
        return fail(QStringLiteral("--seed needs a number"));
    if (parser.isSet(folderOpt))
        options.playFolder = parser.value(folderOpt);

    FakeGame game(options);
    QString error;
    QTextStream out(stdout);

    if (command == QLatin1String("init") ||
        (command == QLatin1String("game") &&
         !QDir(options.gameFolder).exists(options.playFolder))) {
        if (!game.init(&error))
            return fail(error);
        saved.setValue(QStringLiteral("seed"), options.seed);
        saved.setValue(QStringLiteral("playFolder"), options.playFolder);
        saved.sync();
        out << "library of " << game.library().size() << " plays in " << options.gameFolder
            << Qt::endl;
        if (command == QLatin1String("init"))
            return 0;
    }
    if (command == QLatin1String("list")) {
        for (const QString& play : game.library())
            out << play << Qt::endl;
        return 0;
    }
    if (command == QLatin1String("plans") || command == QLatin1String("game")) {
        const int pair = parser.isSet(pairOpt) ? parser.value(pairOpt).toInt() : 0;
        if (pair < 0 || pair > 2)
            return fail(QStringLiteral("--pair is 1 or 2"));
        if (!game.writePlans(pair, &error))
            return fail(error);
        out << "plans written" << Qt::endl;
        if (command == QLatin1String("plans"))
            return 0;
    }
    if (command == QLatin1String("play") || command == QLatin1String("game")) {
        const int plays = command == QLatin1String("play") ? 1 : parser.value(playsOpt).toInt();
        const int interval = parser.value(intervalOpt).toInt();
        for (int i = 0; i < plays; ++i) {
            if (i > 0)
                QThread::msleep(static_cast<unsigned long>(std::max(0, interval)));
            const auto play = game.writePlay(parser.isSet(unknownOpt), &error);
            if (!play)
                return fail(error);
            out << "play " << play->number << ": "
                << (play->playPath.isEmpty() ? QStringLiteral("(matches nothing)") : play->playPath)
                << Qt::endl;
        }
        return 0;
    }
    return fail(QStringLiteral("unknown command \"%1\" (see --help)").arg(command));
}

#include "app/commandline.h"

#include "fs/drivemap.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace huddlex {

namespace {

constexpr int kUsageError = 2;

const char kUsage[] = "Usage: huddlex%1\n"
                      "\n"
                      "Captures the game plans and plays sent to FBPro 97/98 during a game,\n"
                      "identifies the plays and puts their names into the game's play log.\n"
                      "\n"
                      "%2"
                      "  --help              show this text\n";

const char kPrefixUsage[] =
    "  --wine-prefix DIR   take the game's drives from the Wine prefix DIR for this\n"
    "                      session, without saving it (drive C: is DIR/drive_c);\n"
    "                      otherwise the prefix chosen in View, Settings is used,\n"
    "                      else $WINEPREFIX, else ~/.wine\n";

QString usage() {
    const bool prefixes = fs::DriveMap::mapsWinePrefix();
    return QString::fromLatin1(kUsage).arg(
        prefixes ? QStringLiteral(" [--wine-prefix DIR]") : QString(),
        prefixes ? QString::fromLatin1(kPrefixUsage) : QString());
}

QString checkedPrefix(const QString& value, QString* error) {
    if (!fs::DriveMap::mapsWinePrefix()) {
        *error = QStringLiteral("--wine-prefix is for Linux, where the game runs under Wine; on "
                                "Windows the game's drives are the system's own.");
        return {};
    }
    const QFileInfo folder(value);
    if (value.isEmpty() || !folder.isDir()) {
        *error = QStringLiteral("--wine-prefix: the folder \"%1\" does not exist.").arg(value);
        return {};
    }
    return QDir::cleanPath(folder.absoluteFilePath());
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption prefixOption(QStringLiteral("wine-prefix"), QString(),
                                          QStringLiteral("DIR"));
    parser.addOptions({helpOption, prefixOption});
    CommandLine command;
    const bool parsed = parser.parse(arguments);
    command.help = parser.isSet(helpOption);
    if (!parsed) {
        command.error = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        command.error = QStringLiteral("Unexpected argument \"%1\": huddlex takes options only.")
                            .arg(parser.positionalArguments().first());
    } else if (parser.isSet(prefixOption)) {
        command.winePrefix = checkedPrefix(parser.value(prefixOption), &command.error);
    }
    return command;
}

std::optional<int> answerCommandLine(const CommandLine& command, std::FILE* out, std::FILE* err) {
    if (command.help) {
        std::fputs(usage().toLocal8Bit().constData(), out);
        std::fflush(out);
        return 0;
    }
    if (!command.error.isEmpty()) {
        std::fprintf(err, "huddlex: %s\n\n%s", command.error.toLocal8Bit().constData(),
                     usage().toLocal8Bit().constData());
        return kUsageError;
    }
    return std::nullopt;
}

} // namespace huddlex

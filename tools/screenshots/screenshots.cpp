// Takes the README's screenshots: a scratch Wine prefix holds a game that fakegame played and
// that was captured, the real windows are built on it and each is grabbed into a PNG.
// Usage: huddlex-screenshots OUTPUT_FOLDER   (run under a display, e.g. xvfb-run)
#include "app/application.h"
#include "app/maincontroller.h"
#include "app/reportcommand.h"
#include "capture/qttimerfactory.h"
#include "fakegame.h"
#include "help/helppath.h"
#include "settings/settingsstore.h"
#include "ui/aboutdialog.h"
#include "ui/helpwindow.h"
#include "ui/icons.h"
#include "ui/mainwindow.h"
#include "ui/settingsdialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

using namespace huddlex;

namespace {

class SilentNotifier final : public Notifier {
public:
    void showMessage(const QString&) override {}
};

// A game with both plan pairs and six plays already captured: three unknown, one of them the
// first play with a few bytes edited, one the first play with bytes inserted, as the report
// tells.
bool playCapturedGame(const QString& gameFolder) {
    fakegame::FakeGame game({gameFolder, 7, QStringLiteral("VPNFL")});
    if (!game.init() || !game.writePlans())
        return false;
    const QString capture = gameFolder + QStringLiteral("/Xferbox");
    QDir().mkpath(capture);
    const QStringList temps = fakegame::FakeGame::planTempNames();
    const QStringList captured = {QStringLiteral("XOff1.pln"), QStringLiteral("XDef1.pln"),
                                  QStringLiteral("XOff2.pln"), QStringLiteral("XDef2.pln")};
    for (int i = 0; i < 4; ++i) {
        if (!QFile::copy(gameFolder + QLatin1Char('/') + temps.at(i),
                         capture + QLatin1Char('/') + captured.at(i)))
            return false;
    }
    QByteArray first;
    for (int n = 0; n < 6; ++n) {
        const auto play = game.writePlay(n == 2 || n == 4);
        if (!play)
            return false;
        QByteArray bytes = play->bytes;
        if (n == 0)
            first = bytes;
        if (n == 4 && first.size() > 40) {
            bytes = first;
            for (int at : {20, 21, 22, 37})
                bytes[at] = char(bytes[at] ^ 0x5a);
        }
        if (n == 5 && first.size() > 40) {
            bytes = first;
            bytes.insert(26, "ROUTE!");
            bytes[40] = char(bytes[40] ^ 0x5a);
        }
        QFile out(capture + QStringLiteral("/FBplay%1.ply").arg(n));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return false;
    }
    return QFile::remove(gameFolder + QStringLiteral("/FBPlay~.tmp"));
}

bool save(QWidget& widget, const QString& folder, const QString& name) {
    widget.show();
    widget.raise();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + name;
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    // Settings and the game live in a scratch profile, never the user's.
    QTemporaryDir scratch;
    const QString home = scratch.path();
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toLocal8Bit());
    qputenv("WINEPREFIX", (home + QStringLiteral("/wine")).toLocal8Bit());
    const QString gameFolder = home + QStringLiteral("/wine/drive_c/Sierra/FBPro97");

    QApplication app(argc, argv);
    configureApplication();
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(out) || !playCapturedGame(gameFolder)) {
        std::fprintf(stderr, "cannot prepare the scratch game\n");
        return 1;
    }

    NativeSettingsStore store;
    store.write(QStringLiteral("FBVer"), QStringLiteral("\\Sierra\\FBPro97\\"));
    QtTimerFactory timers;
    SilentNotifier notifier;
    MainController::Seams seams;
    seams.notifier = &notifier;
    seams.askDeleteLeftovers = [] { return false; };
    MainController controller(store, timers, seams);
    controller.Form_Load();
    ui::MainWindow& window = controller.window();

    bool ok = save(window, out, QStringLiteral("main-window.png"));
    controller.mnuEdit_Click(1); // Validate
    controller.mnuView_Click(2); // Unknown Plays
    ok = save(window, out, QStringLiteral("unknown-plays.png")) && ok;

    controller.mnuView_Click(5); // Report
    if (ui::ReportWindow* report = controller.report().window()) {
        report->show();
        if (auto* table = report->findChild<QTableView*>())
            table->selectRow(4); // the modified play, its bytes beside the original's
        ok = save(*report, out, QStringLiteral("report-window.png")) && ok;
        if (auto* table = report->findChild<QTableView*>())
            table->selectRow(5); // bytes inserted: aligned against a gap
        ok = save(*report, out, QStringLiteral("report-window-edits.png")) && ok;
        report->hide();
    }

    ui::frmSettings settings(store, controller.paths(), &window);
    ok = save(settings, out, QStringLiteral("settings-dialog.png")) && ok;
    settings.hide();

    ui::frmAbout about(&window);
    ok = save(about, out, QStringLiteral("about-box.png")) && ok;
    about.hide();

    help::HelpWindow helpWindow(help::locateHelpFile());
    helpWindow.resize(820, 560);
    helpWindow.showContents();
    ok = save(helpWindow, out, QStringLiteral("help-window.png")) && ok;
    return ok ? 0 : 1;
}

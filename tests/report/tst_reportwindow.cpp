#include "app/controllerfixture.h"
#include "app/reportcommand.h"
#include "fs/faults.h"
#include "help/contextids.h"
#include "report/reportwords.h"
#include "reportrig.h"
#include "ui/mainwindow.h"
#include "ui/reportmodel.h"
#include "ui/reportwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;
using ui::MenuArray;
using ui::ReportWindow;

namespace {

// A report with one play of each verdict, as the window gets it from a run.
std::function<ValidationReport()> mixedSource(ReportRig& rig) {
    const QByteArray draw = playBytes(600, 1);
    const QByteArray blitz = playBytes(300, 2);
    rig.file("VPNFL/Off/Draw3.ply", draw);
    rig.file("VPNFL/Def/Blitz.ply", blitz);
    rig.plans("VPNFL\\Off\\Draw3.ply", "", "", "VPNFL\\Off\\Draw3.ply");
    rig.capture(0, draw);
    rig.capture(1, blitz);
    rig.capture(2, changed(draw, {16, 17, 40}));
    rig.capture(3, playBytes(300, 3));
    rig.capture(4, "");
    return [&rig] { return rig.report(); };
}

QStringList column(const QTableView& table, int column) {
    QStringList cells;
    for (int row = 0; row < table.model()->rowCount(); ++row)
        cells << table.model()->index(row, column).data().toString();
    return cells;
}

struct Window {
    RecordingNotifier notifier;
    std::optional<ui::ExportTarget> target;
    int asked = 0;
    ReportWindow window{{[this](QWidget*) {
                             ++asked;
                             return target;
                         },
                         &notifier}};
    QTableView& table() { return *window.findChild<QTableView*>("tblPlays"); }
    QString summary() { return window.findChild<QLabel*>("lblSummary")->text(); }
    QString bytes() { return window.findChild<QTextBrowser*>("txtBytes")->toPlainText(); }
};

} // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void theViewMenuEndsWithReport() {
        ControllerFixture f;
        ui::MainWindow& w = f.load().window();
        const QStringList designed{"&All Plays", "&Unknown Plays", "", "&Settings"};
        const QList<int> contexts{270, 280, 0, 290};
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(w.menuItem(MenuArray::mnuView, i)->text(), designed[i - 1]);
            QCOMPARE(
                w.menuItem(MenuArray::mnuView, i)->property(ContextIDs::contextProperty).toInt(),
                contexts[i - 1]);
        }
        QAction* report = w.menuItem(MenuArray::mnuView, 5);
        QCOMPARE(report->text(), QString("&Report"));
        QCOMPARE(report->property(ContextIDs::contextProperty).toInt(), ContextIDs::mnuViewReport);
        auto* view = w.findChild<QMenu*>("mnuView");
        QCOMPARE(view->actions().last(), report);
        QVERIFY(view->actions().contains(w.mnuOnTop()));
    }

    void emptyUntilTheFirstRunThenFollowsTheLatest() {
        ControllerFixture f;
        MainController& c = f.load();
        c.mnuEdit_Click(1); // before the window exists: nothing is built
        QVERIFY(!c.report().window());
        c.window().menuItem(MenuArray::mnuView, 5)->trigger();
        ReportWindow* window = c.report().window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->property(ContextIDs::contextProperty).toInt(), ContextIDs::frmReport);
        QCOMPARE(window->report()->plays.size(), 0);
        window->close();

        ControllerFixture fresh;
        MainController& d = fresh.load();
        d.mnuView_Click(5);
        window = d.report().window();
        QVERIFY(!window->report());
        QVERIFY(window->findChild<QLabel*>("lblSummary")
                    ->text()
                    .startsWith("No validation has run yet"));
        QVERIFY(!window->findChild<QPushButton*>("cmdExport")->isEnabled());

        QDir().mkpath(fresh.game("Xferbox"));
        QFile play(fresh.game("Xferbox/FBplay0.ply"));
        QVERIFY(play.open(QIODevice::WriteOnly) && play.write("unknown") == 7);
        play.close();
        d.mnuEdit_Click(1); // on show: built at once
        QCOMPARE(window->report()->plays.size(), 1);

        window->hide();
        QFile::copy(fresh.game("Xferbox/FBplay0.ply"), fresh.game("Xferbox/FBplay1.ply"));
        d.mnuEdit_Click(1); // hidden: built when next shown
        QCOMPARE(window->report()->plays.size(), 1);
        d.mnuView_Click(5);
        QCOMPARE(window->report()->plays.size(), 2);
        QVERIFY(window->findChild<QPushButton*>("cmdExport")->isEnabled());

        d.window().close(); // closing the main window closes the report too
        QVERIFY(!window->isVisible());
    }

    void tableShowsEveryPlayAndFiltersTheUnknown() {
        ReportRig rig;
        Window w;
        w.window.setReportSource(mixedSource(rig));
        QVERIFY(!w.window.report()); // not built while hidden
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QTableView& table = w.table();
        QCOMPARE(column(table, 0), QStringList({"0", "1", "2", "3", "4"}));
        QCOMPARE(column(table, 1), QStringList({"Draw3", "Unknown Play", "Unknown Play",
                                                "Unknown Play", "Unknown Play"}));
        QCOMPARE(column(table, 2),
                 QStringList({"Identified", "Not in the plans: Blitz",
                              "Modified Draw3: 3 of 600 bytes differ", "Unknown", "Empty"}));
        QCOMPARE(column(table, 3), QStringList({"Off1, Def2", "", "", "", ""}));
        QCOMPARE(table.model()->index(0, 2).data(Qt::ForegroundRole), QVariant());
        QCOMPARE(table.model()->index(1, 2).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(255, 0, 0));
        QCOMPARE(w.summary(),
                 QString("The latest validation: 5 captured plays, 4 unknown (1 not in "
                         "the plans, 1 modified, 1 unlike any play here, 1 empty)."));

        ValidationReport unreadable = *w.window.report();
        unreadable.counts.search.readFailures = 2;
        w.window.setReportSource([unreadable] { return unreadable; });
        QVERIFY(w.summary().endsWith("1 empty). 2 play files could not be read and are left out."));

        w.window.findChild<QCheckBox*>("chkUnknownOnly")->setChecked(true);
        QCOMPARE(column(table, 0), QStringList({"1", "2", "3", "4"}));
        w.window.findChild<QCheckBox*>("chkUnknownOnly")->setChecked(false);
        QCOMPARE(table.model()->rowCount(), 5);

        table.horizontalHeader()->setSortIndicator(2, Qt::AscendingOrder); // by verdict
        QCOMPARE(column(table, 0), QStringList({"4", "0", "2", "1", "3"}));
        table.horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
        QCOMPARE(column(table, 0), QStringList({"4", "3", "2", "1", "0"}));
    }

    void keysMoveCopyAndShowTheBytes() {
        ReportRig rig;
        Window w;
        w.window.setReportSource(mixedSource(rig));
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QTableView& table = w.table();
        table.setFocus();
        w.window.activateWindow();
        table.setCurrentIndex(table.model()->index(1, 0));
        QVERIFY(
            w.bytes().contains("Blitz.ply, a play in your library that none of the plans names"));
        QTest::keyClick(&table, Qt::Key_Down);
        QCOMPARE(table.currentIndex().row(), 2);
        const QString bytes = w.bytes();
        QVERIFY2(
            bytes.contains("FBplay2.ply (600 bytes) against VPNFL\\Off\\Draw3.ply (600 bytes): "
                           "3 bytes differ, at 16\u201317, 40."),
            qPrintable(bytes));
        // Offsets 16 and 40 start their lines; the captured bytes, then the nearest's.
        const QByteArray draw = playBytes(600, 1);
        const QByteArray captured = changed(draw, {16, 17, 40});
        QVERIFY(bytes.contains(QString("    16  %1  %2")
                                   .arg(QString(captured.mid(16, 8).toHex(' ')),
                                        QString(draw.mid(16, 8).toHex(' ')))));
        QVERIFY(bytes.contains("    40  "));
        QVERIFY(!bytes.contains("    24  "));

        table.selectionModel()->select(
            QItemSelection(table.model()->index(0, 0), table.model()->index(1, 3)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(
            QGuiApplication::clipboard()->text(),
            QString(
                "0\tDraw3\tIdentified\tOff1, Def2\n1\tUnknown Play\tNot in the plans: Blitz\t\n"));
    }

    void exportWritesTheChosenFormatWholeOrNotAtAll() {
        ReportRig rig;
        Window w;
        w.window.setReportSource(mixedSource(rig));
        w.window.show();
        const QString folder = rig.env.root() + "/exports";
        QDir().mkpath(folder);

        w.target = ui::ExportTarget{folder + "/report.json", true};
        QVERIFY(w.window.exportReport());
        const QJsonDocument json =
            QJsonDocument::fromJson(TempEnvironment::readHostFile(folder + "/report.json"));
        QCOMPARE(json["plays"].toArray().size(), 5);
        w.target = ui::ExportTarget{folder + "/report.csv", false};
        w.window.findChild<QPushButton*>("cmdExport")->click();
        QVERIFY(TempEnvironment::readHostFile(folder + "/report.csv").startsWith("capture,file,"));

        w.target.reset(); // the dialog was cancelled
        QVERIFY(!w.window.exportReport());

        w.target = ui::ExportTarget{folder + "/failing.csv", false};
        fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Write)
                return fs::Error{fs::ErrorKind::DiskFull, {}};
            return std::nullopt;
        });
        QVERIFY(!w.window.exportReport());
        fs::faults::clearHook();
        w.target = ui::ExportTarget{folder + "/no such folder/report.csv", false};
        QVERIFY(!w.window.exportReport());
        QCOMPARE(w.notifier.messages.size(), 2);
        QVERIFY(w.notifier.messages[0].startsWith("The report was not exported. Cannot write"));
        QVERIFY(w.notifier.messages[0].contains("the disk is full"));
        QVERIFY(w.notifier.messages[1].contains("the folder does not exist"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"report.csv", "report.json"})); // nothing partial left behind
        QCOMPARE(w.asked, 5);
    }

    void opensBesideTheMainWindowWithoutCoveringIt() {
        ControllerFixture f;
        MainController& c = f.load();
        c.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.window()));
        c.mnuView_Click(5);
        ReportWindow* window = c.report().window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect available = c.window().screen()->availableGeometry();
        QVERIFY2(!window->frameGeometry().intersects(c.window().frameGeometry()),
                 qPrintable(QString("report %1,%2 main %3,%4")
                                .arg(window->x())
                                .arg(window->y())
                                .arg(c.window().x())
                                .arg(c.window().y())));
        QVERIFY(available.contains(window->frameGeometry()));
    }
};

QTEST_MAIN(ReportWindowTest)
#include "tst_reportwindow.moc"

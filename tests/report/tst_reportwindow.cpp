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
    void show() {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void theViewMenuEndsWithReport() {
        ControllerFixture f;
        ui::MainWindow& w = f.load().window();
        QStringList items; // the designed items keep their places and numbers
        for (int i = 1; i <= 5; ++i)
            items << w.menuItem(MenuArray::mnuView, i)->text();
        QCOMPARE(items, QStringList({"&All Plays", "&Unknown Plays", "", "&Settings", "&Report"}));
        QAction* report = w.menuItem(MenuArray::mnuView, 5);
        QCOMPARE(report->property(ContextIDs::contextProperty).toInt(), ContextIDs::mnuViewReport);
        auto* view = w.findChild<QMenu*>("mnuView");
        QCOMPARE(view->actions().last(), report);
        QVERIFY(view->actions().contains(w.mnuOnTop()));
    }

    void emptyUntilTheFirstRunThenFollowsTheLatest() {
        ControllerFixture f;
        MainController& c = f.load();
        c.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.window()));
        c.mnuEdit_Click(1); // before the window exists: nothing is built
        QVERIFY(!c.report().window());
        c.window().menuItem(MenuArray::mnuView, 5)->trigger();
        ReportWindow* window = c.report().window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Beside the main window, not over it, and on the screen.
        QVERIFY(!window->frameGeometry().intersects(c.window().frameGeometry()));
        QVERIFY(c.window().screen()->availableGeometry().contains(window->frameGeometry()));
        QCOMPARE(window->property(ContextIDs::contextProperty).toInt(), ContextIDs::frmReport);
        QCOMPARE(window->report()->plays.size(), 0);
        window->close();

        ControllerFixture fresh;
        MainController& d = fresh.load();
        d.mnuView_Click(5);
        window = d.report().window();
        QVERIFY(!window->report());
        QVERIFY(window->findChild<QLabel*>("lblSummary")->text().startsWith("No validation"));
        QVERIFY(!window->findChild<QPushButton*>("cmdExport")->isEnabled());

        fresh.env.writeFile("Sierra/FBPro97/Xferbox/FBplay0.ply", "unknown");
        d.mnuEdit_Click(1); // on show: built at once
        QCOMPARE(window->report()->plays.size(), 1);

        window->hide();
        fresh.env.writeFile("Sierra/FBPro97/Xferbox/FBplay1.ply", "unknown");
        d.mnuEdit_Click(1); // hidden: built when next shown
        QCOMPARE(window->report()->plays.size(), 1);
        d.mnuView_Click(5);
        QCOMPARE(window->report()->plays.size(), 2);
        QVERIFY(window->findChild<QPushButton*>("cmdExport")->isEnabled());

        d.window().close(); // closing the main window closes the report too
        QVERIFY(!window->isVisible());
    }

    void tableShowsEveryPlayAndFiltersTheUnknown() {
        MixedGame game;
        Window w;
        w.window.setReportSource([&game] { return game.report(); });
        QVERIFY(!w.window.report()); // not built while hidden
        w.show();
        QTableView& table = w.table();
        const QString unknown = "Unknown Play";
        QCOMPARE(column(table, 0), QStringList({"0", "1", "2", "3", "4", "5", "6"}));
        QCOMPARE(column(table, 1),
                 QStringList({"Draw3", unknown, unknown, unknown, unknown, unknown, "Draw3"}));
        QCOMPARE(column(table, 2),
                 QStringList({"Identified", "Not in the plans: " + oddName.chopped(4),
                              "Modified Caf\u00e9: 3 of 300 bytes differ", "Unknown", "Empty",
                              "Missing", "Identified"}));
        QCOMPARE(column(table, 3), QStringList({"Off1, Def2", "", "", "", "", "", "Off1, Def2"}));
        QCOMPARE(table.model()->index(0, 2).data(Qt::ForegroundRole), QVariant());
        QCOMPARE(table.model()->index(1, 2).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(255, 0, 0));
        QCOMPARE(w.summary(),
                 QString("The latest validation: 7 captured plays, 5 unknown (1 not in the plans, "
                         "1 modified, 1 unlike any play here, 1 empty, 1 missing)."));

        ValidationReport unreadable = *w.window.report();
        unreadable.counts.search.readFailures = 2;
        w.window.setReportSource([unreadable] { return unreadable; });
        QVERIFY(w.summary().endsWith("missing). 2 play files could not be read and are left out."));

        w.window.findChild<QCheckBox*>("chkUnknownOnly")->setChecked(true);
        QCOMPARE(column(table, 0), QStringList({"1", "2", "3", "4", "5"}));
        w.window.findChild<QCheckBox*>("chkUnknownOnly")->setChecked(false);
        QCOMPARE(table.model()->rowCount(), 7);

        table.horizontalHeader()->setSortIndicator(2, Qt::AscendingOrder); // by verdict
        QCOMPARE(column(table, 0), QStringList({"4", "0", "6", "5", "2", "1", "3"}));
        table.horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
        QCOMPARE(column(table, 0), QStringList({"6", "5", "4", "3", "2", "1", "0"}));
    }

    void keysMoveCopyAndShowTheBytes() {
        MixedGame game;
        Window w;
        w.window.setReportSource([&game] { return game.report(); });
        w.show();
        QTableView& table = w.table();
        table.setFocus();
        w.window.activateWindow();
        table.setCurrentIndex(table.model()->index(1, 0));
        QVERIFY(w.bytes().contains("Two.ply, a play in your library that none of the plans names"));
        QTest::keyClick(&table, Qt::Key_Down);
        QCOMPARE(table.currentIndex().row(), 2);
        const QString bytes = w.bytes();
        QVERIFY2(bytes.contains(QString("FBplay2.ply (300 bytes) against VPNFL\\Odd\\Caf\u00e9.ply "
                                        "(300 bytes): 3 bytes differ, at 9\u201310, 40.")),
                 qPrintable(bytes));
        // Only lines with a difference, each with the captured bytes, then the nearest's.
        const QByteArray captured = changed(game.cafe, {9, 10, 40});
        for (int offset : {8, 40})
            QVERIFY(bytes.contains(QString("%1  %2  %3")
                                       .arg(offset, 6)
                                       .arg(QString(captured.mid(offset, 8).toHex(' ')),
                                            QString(game.cafe.mid(offset, 8).toHex(' ')))));
        QVERIFY(!bytes.contains("    16  "));

        // Rows copied in the order shown, whatever the order chosen.
        for (int row : {2, 0})
            table.selectionModel()->select(table.model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("0\tDraw3\tIdentified\tOff1, Def2\n2\tUnknown Play\tModified Caf\u00e9: "
                         "3 of 300 bytes differ\t\n"));
    }

    void exportWritesTheChosenFormatWholeOrNotAtAll_data() {
        QTest::addColumn<QString>("file"); // below the exports folder
        QTest::addColumn<bool>("json");
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QByteArray>("written"); // how it begins; empty: nothing, and this
        QTest::addColumn<QString>("message");    // message
        QTest::newRow("json") << "report.json" << true << false
                              << QByteArray("{\n  \"game_folder\"") << QString();
        QTest::newRow("csv") << "report.csv" << false << false << QByteArray("capture,file,")
                             << QString();
        QTest::newRow("cancelled") << QString() << false << false << QByteArray() << QString();
        QTest::newRow("disk full")
            << "report.csv" << false << true << QByteArray() << "the disk is full";
        QTest::newRow("no such folder") << "no such folder/report.csv" << false << false
                                        << QByteArray() << "the folder does not exist";
    }
    void exportWritesTheChosenFormatWholeOrNotAtAll() {
        QFETCH(QString, file);
        QFETCH(bool, json);
        QFETCH(bool, diskFull);
        QFETCH(QByteArray, written);
        QFETCH(QString, message);
        MixedGame game;
        Window w;
        w.window.setReportSource([&game] { return game.report(); });
        w.show();
        const QString folder = game.env.root() + "/exports";
        QDir().mkpath(folder);
        if (!file.isEmpty()) // else the dialog was cancelled
            w.target = ui::ExportTarget{folder + "/" + file, json};
        if (diskFull)
            fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
                if (op == fs::faults::Op::Write)
                    return fs::Error{fs::ErrorKind::DiskFull, {}};
                return std::nullopt;
            });
        w.window.findChild<QPushButton*>("cmdExport")->click();
        QCOMPARE(w.asked, 1);
        QCOMPARE(w.window.exportReport(), !written.isEmpty());
        if (written.isEmpty()) { // nothing partial left behind
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        } else {
            const QByteArray data = TempEnvironment::readHostFile(folder + "/" + file);
            QVERIFY(data.startsWith(written));
            QCOMPARE(json ? QJsonDocument::fromJson(data)["plays"].toArray().size() : 7, 7);
        }
        QCOMPARE(w.notifier.messages.size(), message.isEmpty() ? 0 : 2);
        for (const QString& shown : w.notifier.messages)
            QVERIFY2(shown.startsWith("The report was not exported. Cannot write") &&
                         shown.contains(message),
                     qPrintable(shown));
    }
};

QTEST_MAIN(ReportWindowTest)
#include "tst_reportwindow.moc"

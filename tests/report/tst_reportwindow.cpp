#include "app/controllerfixture.h"
#include "app/reportcommand.h"
#include "fs/faults.h"
#include "reportrig.h"
#include "ui/bytescomparison.h"
#include "ui/contextids.h"
#include "ui/mainwindow.h"
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
#include <QRegularExpression>
#include <QScreen>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;
using ui::MenuArray;
using ui::ReportWindow;

namespace {

// The window over the mixed game, with the export dialog and the messages answered here.
struct Window {
    MixedGame game;
    RecordingNotifier notifier;
    std::optional<ui::ExportTarget> target;
    int asked = 0;
    ReportWindow window{{[this](QWidget*) {
                             ++asked;
                             return target;
                         },
                         &notifier}};
    Window() {
        window.setReportSource([this] { return game.report(); });
    }
    QTableView& table() { return *window.findChild<QTableView*>("tblPlays"); }
    QStringList column(int column) {
        QStringList cells;
        for (int row = 0; row < table().model()->rowCount(); ++row)
            cells << table().model()->index(row, column).data().toString();
        return cells;
    }
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
        QStringList items; // the designed items keep their places and help numbers
        QList<int> contexts;
        for (int i = 1; i <= 5; ++i) {
            items << w.menuItem(MenuArray::mnuView, i)->text();
            contexts
                << w.menuItem(MenuArray::mnuView, i)->property(ContextIDs::contextProperty).toInt();
        }
        QCOMPARE(items, QStringList({"&All Plays", "&Unknown Plays", "", "&Settings", "&Report"}));
        QCOMPARE(contexts, QList<int>({ContextIDs::mnuViewAllPlays, ContextIDs::mnuViewUnknownPlays,
                                       0, ContextIDs::mnuViewSettings, ContextIDs::mnuViewReport}));
        QAction* report = w.menuItem(MenuArray::mnuView, 5);
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
        Window w;
        QVERIFY(!w.window.report()); // not built while hidden
        w.show();
        const QString unknown = "Unknown Play";
        QCOMPARE(w.column(0), QStringList({"0", "1", "2", "3", "4", "5", "6", "7"}));
        QCOMPARE(w.column(1), QStringList({"Draw3", unknown, unknown, unknown, unknown, unknown,
                                           "Draw3", unknown}));
        QCOMPARE(w.column(2), QStringList({"Identified", "Not in the plans: " + oddName.chopped(4),
                                           "Modified Caf\u00e9: 4 of 300 bytes differ", "Unknown",
                                           "Empty", "Missing", "Identified",
                                           "Modified Blitz: 6 bytes inserted, 1 changed"}));
        QCOMPARE(w.column(3), QStringList({"Off1, Def2", "", "", "", "", "", "Off1, Def2", ""}));
        QAbstractItemModel& model = *w.table().model();
        QCOMPARE(model.index(0, 2).data(Qt::ForegroundRole), QVariant());
        QCOMPARE(model.index(1, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QCOMPARE(w.summary(),
                 QString("The latest validation: 8 captured plays, 6 unknown (1 not in the plans, "
                         "2 modified, 1 unlike any play here, 1 empty, 1 missing)."));

        ValidationReport unreadable = *w.window.report();
        unreadable.counts.search.readFailures = 2;
        w.window.setReportSource([unreadable] { return unreadable; });
        QVERIFY(w.summary().endsWith("missing). 2 play files could not be read and are left out."));

        w.window.findChild<QCheckBox*>("chkUnknownOnly")->setChecked(true);
        QCOMPARE(w.column(0), QStringList({"1", "2", "3", "4", "5", "7"}));
        w.window.findChild<QCheckBox*>("chkUnknownOnly")->setChecked(false);
        QCOMPARE(model.rowCount(), 8);

        w.table().horizontalHeader()->setSortIndicator(2, Qt::AscendingOrder); // by verdict
        QCOMPARE(w.column(0), QStringList({"4", "0", "6", "5", "7", "2", "1", "3"}));
        w.table().horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
        QCOMPARE(w.column(0), QStringList({"7", "6", "5", "4", "3", "2", "1", "0"}));
    }

    void keysMoveCopyAndShowTheBytes() {
        Window w;
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
                                        "(300 bytes): 4 bytes differ, at 9\u201310, 12, 40.")),
                 qPrintable(bytes));
        // Each line with a difference once, the captured bytes, then the nearest's.
        const QByteArray& cafe = w.game.cafe;
        const QByteArray captured = changed(cafe, {9, 10, 12, 40});
        for (int offset : {8, 40})
            QCOMPARE(bytes.count(QString("%1  %2  %3")
                                     .arg(offset, 6)
                                     .arg(QString(captured.mid(offset, 8).toHex(' ')),
                                          QString(cafe.mid(offset, 8).toHex(' ')))),
                     1);
        QVERIFY(!bytes.contains("    16  "));

        // Rows copied in the order shown, whatever the order chosen.
        for (int row : {2, 0})
            table.selectionModel()->select(table.model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("0\tDraw3\tIdentified\tOff1, Def2\n2\tUnknown Play\tModified Caf\u00e9: "
                         "4 of 300 bytes differ\t\n"));
    }

    // A play traced by its edits: the two aligned, each inserted byte against a gap, the
    // changed one beside the original; only the lines with an edit.
    void theBytesViewAlignsTheEditsAsADiffDoes() {
        Window w;
        w.show();
        w.table().setCurrentIndex(w.table().model()->index(7, 0));
        const QString bytes = w.bytes();
        QVERIFY2(bytes.startsWith("FBplay7.ply (406 bytes) against VPNFL\\Def\\Blitz.ply (400 "
                                  "bytes): 6 bytes inserted, 1 changed."),
                 qPrintable(bytes));
        const QByteArray& blitz = w.game.blitz;
        const QByteArray captured = changed(inserted(blitz, 200, 6), {350});
        auto hex = [](const QByteArray& b) { return QString(b.toHex(' ')); };
        const QStringList lines = bytes.split('\n').filter(QRegularExpression("^ +\\d"));
        QCOMPARE(lines, QStringList({QString("   200  %1     200  -- -- -- -- -- -- %2")
                                         .arg(hex(captured.mid(200, 8)), hex(blitz.mid(200, 2))),
                                     QString("   344  %1     338  %2")
                                         .arg(hex(captured.mid(344, 8)), hex(blitz.mid(338, 8)))}));
        const PlayEntry& play = w.window.report()->plays[7];
        QCOMPARE(ui::BytesComparisonHtml(play).count("class=\"d\""), 6 + 6 + 2);
    }

    void exportWritesTheChosenFormatWholeOrNotAtAll() {
        Window w;
        w.show();
        const QString folder = w.game.env.root() + "/exports/";
        QDir().mkpath(folder);
        w.target = ui::ExportTarget{folder + "report.json", true};
        QVERIFY(w.window.exportReport());
        const QByteArray json = TempEnvironment::readHostFile(folder + "report.json");
        QCOMPARE(QJsonDocument::fromJson(json)["plays"].toArray().size(), 8);
        w.target = ui::ExportTarget{folder + "report.csv", false};
        w.window.findChild<QPushButton*>("cmdExport")->click();
        QVERIFY(TempEnvironment::readHostFile(folder + "report.csv").startsWith("capture,file,"));

        w.target.reset(); // the dialog was cancelled
        QVERIFY(!w.window.exportReport());
        w.target = ui::ExportTarget{folder + "failing.csv", false};
        fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Write)
                return fs::Error{fs::ErrorKind::DiskFull, {}};
            return std::nullopt;
        });
        QVERIFY(!w.window.exportReport());
        fs::faults::clearHook();
        w.target = ui::ExportTarget{folder + "no such folder/report.csv", false};
        QVERIFY(!w.window.exportReport());
        QCOMPARE(w.notifier.messages.size(), 2);
        QVERIFY(w.notifier.messages[0].startsWith("The report was not exported. Cannot write"));
        QVERIFY(w.notifier.messages[0].contains("the disk is full"));
        QVERIFY(w.notifier.messages[1].contains("the folder does not exist"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"report.csv", "report.json"})); // nothing partial left behind
        QCOMPARE(w.asked, 5);
    }
};

QTEST_MAIN(ReportWindowTest)
#include "tst_reportwindow.moc"

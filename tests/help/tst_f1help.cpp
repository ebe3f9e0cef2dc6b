#include "help/helprecorder.h"
#include "ui/contextids.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace huddlex;

namespace {
const char* const prop = ContextIDs::contextProperty;
}

// F1 anywhere asks the help viewer for the number of the window or highlighted menu item.
class TestF1Help : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        main_.setProperty(prop, ContextIDs::frmMain);
        fileMenu_ = main_.menuBar()->addMenu(QStringLiteral("&File"));
        start_ = fileMenu_->addAction(QStringLiteral("&Start"));
        start_->setProperty(prop, ContextIDs::mnuFileStart);
        onTop_ = fileMenu_->addAction(QStringLiteral("Always &On Top"));
        main_.setCentralWidget(new QLineEdit);
        ContextIDs::InitHelp(&main_);
        main_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main_));
    }

    void windowAsksForItsNumber() {
        test::HelpRecorder help;
        QTest::keyClick(main_.centralWidget(), Qt::Key_F1);
        QCOMPARE(help.topics, QList<int>{ContextIDs::frmMain});
    }

    void dialogAsksForItsOwnNumber() {
        test::HelpRecorder help;
        QDialog settings(&main_);
        settings.setProperty(prop, ContextIDs::frmSettings);
        auto* box = new QLineEdit(&settings);
        settings.show();
        QTest::keyClick(box, Qt::Key_F1);
        QCOMPARE(help.topics, QList<int>{ContextIDs::frmSettings});
    }

    // A message box has no number of its own; its owner's topic is the useful one.
    void windowWithoutNumberUsesItsOwners() {
        test::HelpRecorder help;
        QDialog box(&main_);
        box.show();
        QTest::keyClick(&box, Qt::Key_F1);
        QCOMPARE(help.topics, QList<int>{ContextIDs::frmMain});
    }

    void windowWithoutAnyNumberLeavesF1Alone() {
        test::HelpRecorder help;
        QLineEdit lonely;
        lonely.show();
        QTest::keyClick(&lonely, Qt::Key_F1);
        QTest::keyClick(main_.centralWidget(), Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(help.topics.isEmpty());
    }

    void highlightedMenuItem_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("expected");
        QTest::newRow("item with a number") << 0 << int(ContextIDs::mnuFileStart);
        QTest::newRow("item without one: the window's") << 1 << int(ContextIDs::frmMain);
        QTest::newRow("nothing highlighted: the window's") << -1 << int(ContextIDs::frmMain);
    }
    void highlightedMenuItem() {
        QFETCH(int, item);
        QFETCH(int, expected);
        test::HelpRecorder help;
        fileMenu_->popup(main_.mapToGlobal(QPoint(0, 0)));
        QCOMPARE(QApplication::activePopupWidget(), fileMenu_);
        fileMenu_->setActiveAction(item == 0 ? start_ : item == 1 ? onTop_ : nullptr);
        QTest::keyClick(fileMenu_, Qt::Key_F1);
        QCOMPARE(help.topics, QList<int>{expected});
        // The menu makes way for the help.
        QVERIFY(!fileMenu_->isVisible());
    }

    void contentsAndQuitReachTheViewer() {
        test::HelpRecorder help;
        ContextIDs::ShowHelpContents();
        ContextIDs::QuitHelp();
        QCOMPARE(help.contents, 1);
        QCOMPARE(help.quits, 1);
        QVERIFY(help.topics.isEmpty());
    }

private:
    QMainWindow main_;
    QMenu* fileMenu_ = nullptr;
    QAction* start_ = nullptr;
    QAction* onTop_ = nullptr;
};

QTEST_MAIN(TestF1Help)
#include "tst_f1help.moc"

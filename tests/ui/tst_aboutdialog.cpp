#include "help/helprecorder.h"
#include "help/programinfo.h"
#include "ui/aboutdialog.h"
#include "ui/contextids.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace huddlex;
using huddlex::ui::frmAbout;

namespace {
QString labelText(QWidget& dialog, const char* name) {
    auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}
} // namespace

class TestAboutDialog : public QObject {
    Q_OBJECT
private slots:
    void textsSetOnLoad() {
        frmAbout about;
        QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(about.windowTitle(), QStringLiteral("About Huddlex"));
        QCOMPARE(labelText(about, "lblTitle"), QStringLiteral("Huddlex"));
        QCOMPARE(labelText(about, "lblVersion"),
                 QStringLiteral("Version ") + QStringLiteral(HUDDLEX_PROJECT_VERSION));
        QCOMPARE(labelText(about, "lblDescription"), QStringLiteral("For use with FBPro 97 & 98"));
        QVERIFY(!labelText(about, "Label4").isEmpty());
        QVERIFY(!labelText(about, "txtHomePage").contains("http"));
        auto* picture = about.findChild<QLabel*>("Image1");
        QVERIFY(picture && !picture->pixmap().isNull());
        QCOMPARE(picture->pixmap().deviceIndependentSize(), QSizeF(32, 32));
        QVERIFY(about.findChild<QWidget*>("Line1_0") && about.findChild<QWidget*>("Line1_1"));
        auto* ok = about.findChild<QPushButton*>("cmdOK");
        QVERIFY(ok && ok->isDefault());
        QCOMPARE(ok->text(), QStringLiteral("OK"));
    }

    void versionText_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("expected");
        QTest::newRow("this release") << 2 << 0 << 0 << "Version 2.0.0";
        QTest::newRow("two digits, no leading zero") << 2 << 10 << 3 << "Version 2.10.3";
    }
    void versionText() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, expected);
        QCOMPARE(huddlex::versionText({major, minor, revision}), expected);
    }

    void displayedCaption_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::newRow("doubled ampersand") << "Plans && Plays"
                                           << "Plans & Plays";
        QTest::newRow("access key") << "E&xit"
                                    << "Exit";
        QTest::newRow("trailing ampersand") << "A&"
                                            << "A&";
    }
    void displayedCaption() {
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        QCOMPARE(ui::displayedCaption(caption), shown);
    }

    void enterAndEscBothClose_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void enterAndEscBothClose() {
        QFETCH(int, key);
        frmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, Qt::Key(key));
        QVERIFY(!about.isVisible());
    }

    void f1AsksForTheAboutTopic() {
        test::HelpRecorder help;
        ContextIDs::InitHelp(nullptr);
        frmAbout about;
        about.show();
        QTest::keyClick(about.findChild<QPushButton*>("cmdOK"), Qt::Key_F1);
        QCOMPARE(help.topics, QList<int>{ContextIDs::frmAbout});
    }

    // Modal from the Help menu: returns once OK has closed it.
    void shownModallyUntilOk() {
        bool answered = false;
        QTimer::singleShot(0, [&answered] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box && box->objectName() == QLatin1String("frmAbout"));
            QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
            answered = true;
        });
        ShowAboutBox(nullptr);
        QVERIFY(answered);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"

#include "ui/contextids.h"
#include "ui/existingfilesdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using huddlex::ui::frmExistingFiles;

class ExistingFilesTest : public QObject {
    Q_OBJECT
private slots:
    void yesHasTheFocus() {
        frmExistingFiles prompt;
        prompt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        QCOMPARE(prompt.windowTitle(), QString("Huddlex - Warning"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("cmdYes"));
        QCOMPARE(prompt.findChild<QLabel*>("lblMessage")->text(),
                 QString("There are files present from a previous game. Would you like to "
                         "delete them now?"));
        QCOMPARE(prompt.property(huddlex::ContextIDs::contextProperty).toInt(), 300);
    }

    void answers_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("Yes") << "cmdYes" << int(QDialog::Accepted);
        QTest::newRow("No") << "cmdNo" << int(QDialog::Rejected);
        QTest::newRow("close box") << "" << int(QDialog::Rejected);
        QTest::newRow("Enter") << "enter" << int(QDialog::Accepted);
    }
    void answers() {
        QFETCH(QString, how);
        frmExistingFiles prompt;
        QTimer::singleShot(0, &prompt, [&] {
            if (how == "enter")
                QTest::keyClick(&prompt, Qt::Key_Return);
            else if (how.isEmpty())
                prompt.close();
            else
                prompt.findChild<QPushButton*>(how)->click();
        });
        QTEST(prompt.exec(), "result");
    }
};

QTEST_MAIN(ExistingFilesTest)
#include "tst_existingfiles.moc"

#include "help/contextids.h"
#include "help/helppath.h"
#include "help/helpviewer.h"
#include "help/helpwindow.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHelpEngineCore>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace huddlex;

namespace {

const QList<int> allContextIds{ContextIDs::frmMain,          ContextIDs::frmAbout,
                               ContextIDs::mnuFileStart,     ContextIDs::mnuFileStop,
                               ContextIDs::mnuFileExit,      ContextIDs::mnuEditValidate,
                               ContextIDs::mnuEditUpdateLog, ContextIDs::mnuEditDeleteFiles,
                               ContextIDs::mnuViewAllPlays,  ContextIDs::mnuViewUnknownPlays,
                               ContextIDs::mnuViewSettings,  ContextIDs::frmExistingFiles,
                               ContextIDs::frmSettings,      ContextIDs::frmReport};

help::HelpWindow* openHelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<help::HelpWindow*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

} // namespace

// The help the build made: every context number has a topic, every link leads somewhere,
// and the window shows topics, or says plainly why it cannot.
class TestHelpCollection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(HUDDLEX_BUILT_HELP), HUDDLEX_BUILT_HELP);
        engine_ = std::make_unique<QHelpEngineCore>(QStringLiteral(HUDDLEX_BUILT_HELP));
        engine_->setReadOnly(true);
        QVERIFY2(engine_->setupData(), qPrintable(engine_->error()));
    }

    void everyContextNumberHasATopic() {
        QStringList pages;
        for (int id : allContextIds) {
            const QUrl topic = help::topicForContext(*engine_, id);
            QVERIFY2(!topic.isEmpty(), qPrintable(QString::number(id)));
            const QByteArray page = engine_->fileData(topic);
            QVERIFY2(page.contains("<h1>"), qPrintable(topic.toString()));
            pages << topic.fileName();
        }
        // One topic each: no number borrows another's page.
        pages.removeDuplicates();
        QCOMPARE(pages.size(), allContextIds.size());
    }

    void everyLinkLeadsToAPage() {
        const QStringList namespaces = engine_->registeredDocumentations();
        QCOMPARE(namespaces.size(), 1);
        const QList<QUrl> files =
            engine_->files(namespaces.first(), QString(), QStringLiteral("html"));
        QVERIFY(files.size() >= allContextIds.size());
        QVERIFY(files.contains(help::homePage()));
        const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
        for (const QUrl& file : files) {
            const QString page = QString::fromUtf8(engine_->fileData(file));
            for (auto match = link.globalMatch(page); match.hasNext();) {
                const QUrl target = file.resolved(QUrl(match.next().captured(1)));
                QVERIFY2(!engine_->fileData(target).isEmpty(),
                         qPrintable(file.fileName() + " -> " + target.toString()));
            }
        }
    }

    void windowOpensOnTopicByNumber() {
        help::HelpWindow window(QStringLiteral(HUDDLEX_BUILT_HELP));
        QVERIFY(window.hasHelp());
        window.showTopic(ContextIDs::frmSettings);
        QCOMPARE(window.currentPage(), help::topicForContext(*engine_, ContextIDs::frmSettings));
        QVERIFY(window.pageText().contains("Drive for FBPro"));
        window.showContents();
        QCOMPARE(window.currentPage(), help::homePage());
        window.showTopic(999);
        QVERIFY(window.pageText().contains("no topic for context number 999"));
    }

    void unusableHelpFileIsExplained_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << QByteArray() << "could not be found";
        QTest::newRow("not a help collection")
            << QByteArray("not a database") << "could not be opened";
    }
    void unusableHelpFileIsExplained() {
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Huddlex.qhc"));
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        help::HelpWindow window(path);
        window.showTopic(ContextIDs::frmMain);
        window.showContents();
        QVERIFY(!window.hasHelp());
        QVERIFY2(window.pageText().contains(says), qPrintable(window.pageText()));
        QVERIFY(window.pageText().contains(path));
        // A missing collection is not created behind the user's back.
        if (content.isEmpty())
            QVERIFY(!QFile::exists(path));
    }

    // The built-in viewer: the program's own calls open, turn and close one help window.
    void builtInViewerOpensAndCloses() {
        QCOMPARE(help::setHelpViewer(nullptr), nullptr);
        ContextIDs::InitHelp(nullptr);
        QCOMPARE(help::currentHelpFile(),
                 help::helpFilePath(QCoreApplication::applicationDirPath()));
        ContextIDs::ShowHelpContext(ContextIDs::mnuEditValidate);
        help::HelpWindow* window = openHelpWindow();
        QVERIFY(window);
        QVERIFY(window->pageText().contains("Validate Plays"));
        ContextIDs::ShowHelpContents();
        QCOMPARE(openHelpWindow(), window);
        QCOMPARE(window->currentPage(), help::homePage());
        ContextIDs::QuitHelp();
        QTRY_VERIFY(!openHelpWindow());
    }

    // Asked for from a modal dialog, help must not be blocked by that dialog.
    void helpFromModalDialogStaysUsable() {
        QDialog dialog;
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        ContextIDs::ShowHelpContext(ContextIDs::frmSettings);
        help::HelpWindow* window = openHelpWindow();
        QVERIFY(window);
        QCOMPARE(window->windowModality(), Qt::ApplicationModal);
        ContextIDs::QuitHelp();
        dialog.close();
        QTRY_VERIFY(!openHelpWindow());
        ContextIDs::ShowHelpContents();
        QVERIFY(openHelpWindow());
        QCOMPARE(openHelpWindow()->windowModality(), Qt::NonModal);
        ContextIDs::QuitHelp();
    }

private:
    std::unique_ptr<QHelpEngineCore> engine_;
};

QTEST_MAIN(TestHelpCollection)
#include "tst_helpcollection.moc"

#include "help/helppath.h"
#include "help/helpproject.h"
#include "ui/contextids.h"
#include "ui/helpviewer.h"
#include "ui/helpwindow.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

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

QByteArray pageData(const QUrl& url) {
    QFile file(QLatin1Char(':') + url.path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList sectionRefs(const QList<help::HelpSection>& sections) {
    QStringList refs;
    for (const help::HelpSection& section : sections)
        refs << section.ref << sectionRefs(section.children);
    return refs;
}

// Packs `files` (name -> content) into a help file the way the build does.
QString packHelpFile(const QTemporaryDir& dir, const QMap<QString, QByteArray>& files) {
    QString qrc = QStringLiteral("<RCC><qresource prefix=\"/\">");
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile file(dir.filePath(it.key()));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            return {};
        qrc += QStringLiteral("<file>%1</file>").arg(it.key());
    }
    qrc += QStringLiteral("</qresource></RCC>");
    QFile list(dir.filePath(QStringLiteral("help.qrc")));
    if (!list.open(QIODevice::WriteOnly) || list.write(qrc.toUtf8()) < 0)
        return {};
    list.close();
    const QString out = dir.filePath(QStringLiteral("Huddlex.rcc"));
    QProcess rcc;
    rcc.setWorkingDirectory(dir.path());
    rcc.start(QStringLiteral(HUDDLEX_RCC), {"--binary", "--no-zstd", "help.qrc", "-o", out});
    return rcc.waitForFinished(60000) && rcc.exitCode() == 0 ? out : QString();
}

} // namespace

// The help the build made, shown by the help window: every context number opens a topic of
// its own, every link leads to a page, the contents and the index open pages, and a help
// file that cannot be used is explained.
class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(QFile::exists(HUDDLEX_BUILT_HELP), HUDDLEX_BUILT_HELP); }

    void everyContextNumberOpensATopicOfItsOwn() {
        help::HelpWindow window(QStringLiteral(HUDDLEX_BUILT_HELP));
        QVERIFY(window.hasHelp());
        QStringList pages;
        for (int id : allContextIds) {
            window.showTopic(id);
            const QUrl page = window.currentPage();
            QVERIFY2(pageData(page).contains("<h1>"), qPrintable(QString::number(id)));
            QVERIFY(!window.pageText().contains("no topic for context number"));
            pages << page.fileName();
        }
        pages.removeDuplicates();
        QCOMPARE(pages.size(), allContextIds.size());
        window.showTopic(999);
        QVERIFY(window.pageText().contains("no topic for context number 999"));
    }

    void everyLinkLeadsToAPage() {
        help::HelpWindow window(QStringLiteral(HUDDLEX_BUILT_HELP));
        const help::HelpProject& project = *window.project();
        QStringList refs = sectionRefs(project.contents());
        for (const help::HelpKeyword& keyword : project.keywords())
            refs << keyword.ref;
        for (const QString& ref : refs)
            QVERIFY2(!pageData(window.pageUrl(ref)).isEmpty(), qPrintable(ref));

        const QDir folder(QLatin1Char(':') + window.pageUrl(QString()).path());
        const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() >= allContextIds.size());
        const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
        for (const QString& name : pages) {
            const QUrl page = window.pageUrl(name);
            const QString html = QString::fromUtf8(pageData(page));
            for (auto match = link.globalMatch(html); match.hasNext();) {
                const QUrl target = page.resolved(QUrl(match.next().captured(1)));
                const QByteArray data = pageData(target);
                QVERIFY2(!data.isEmpty(), qPrintable(name + " -> " + target.toString()));
                if (target.hasFragment())
                    QVERIFY2(data.contains("name=\"" + target.fragment().toUtf8() + '"'),
                             qPrintable(name + " -> " + target.toString()));
            }
            // Every page is reachable from the contents.
            if (name != QLatin1String("index.html"))
                QVERIFY2(refs.contains(name), qPrintable(name));
        }
        // The browser shows the page with its style sheet, read from the help file too.
        window.showContents();
        QVERIFY(!window.pageText().isEmpty());
    }

    void contentsAndIndexOpenPages() {
        help::HelpWindow window(QStringLiteral(HUDDLEX_BUILT_HELP));
        auto* contents = window.findChild<QTreeWidget*>("helpContents");
        auto* index = window.findChild<QListWidget*>("helpIndex");
        auto* filter = window.findChild<QLineEdit*>("helpIndexFilter");
        QVERIFY(contents && index && filter);

        window.showContents();
        QCOMPARE(contents->topLevelItemCount(), 1);
        QTreeWidgetItem* home = contents->topLevelItem(0);
        QCOMPARE(contents->currentItem(), home);
        QVERIFY(home->isExpanded());
        QVERIFY(home->childCount() >= 8);

        // Clicking an entry opens its page and marks it.
        QTreeWidgetItem* dialogs = nullptr;
        for (int i = 0; i < home->childCount(); ++i) {
            if (home->child(i)->text(0) == QLatin1String("Dialogs"))
                dialogs = home->child(i);
        }
        QVERIFY(dialogs && dialogs->childCount() > 0);
        QTreeWidgetItem* settings = dialogs->child(0);
        contents->scrollToItem(settings);
        const QRect box = contents->visualItemRect(settings);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, box.center());
        QCOMPARE(window.currentPage(), window.pageUrl(QStringLiteral("settings-dialog.html")));

        // The index lists every keyword in alphabetical order.
        QCOMPARE(index->count(), window.project()->keywords().size());
        for (int i = 1; i < index->count(); ++i)
            QVERIFY(index->item(i - 1)->text().compare(index->item(i)->text(),
                                                       Qt::CaseInsensitive) <= 0);
        // Typing narrows it; Return opens the best match.
        filter->setText(QStringLiteral("xfer"));
        QCOMPARE(index->currentItem()->text(), QString("Xferbox"));
        int shown = 0;
        for (int i = 0; i < index->count(); ++i)
            shown += index->item(i)->isHidden() ? 0 : 1;
        QCOMPARE(shown, 1);
        QTest::keyClick(filter, Qt::Key_Return);
        QCOMPARE(window.currentPage(), window.pageUrl(QStringLiteral("capturing.html")));
        QCOMPARE(contents->currentItem()->text(0), QString("Capturing during a game"));

        // Following a link inside a page moves the mark in the contents.
        auto* browser = window.findChild<QTextBrowser*>("helpBrowser");
        browser->setSource(window.pageUrl(QStringLiteral("validating.html")));
        QCOMPARE(contents->currentItem()->text(0), QString("Validating plays"));
    }

    void unusableHelpFileIsExplained_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("project");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << QByteArray() << QByteArray() << "could not be found";
        QTest::newRow("not a help file")
            << QByteArray("not a resource file") << QByteArray() << "could not be opened";
        QTest::newRow("no help project inside")
            << QByteArray("<html></html>") << QByteArray() << "holds no help project";
        QTest::newRow("broken help project")
            << QByteArray("<html></html>") << QByteArray("<QtHelpProject><toc>")
            << "could not be opened";
        QTest::newRow("help project without contents")
            << QByteArray("<html></html>") << QByteArray("<QtHelpProject/>")
            << "no table of contents";
    }
    void unusableHelpFileIsExplained() {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, project);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("Huddlex.rcc"));
        if (!project.isEmpty() || content.startsWith('<')) {
            QMap<QString, QByteArray> files{{QStringLiteral("index.html"), content}};
            if (!project.isEmpty())
                files.insert(QStringLiteral("huddlex.qhp"), project);
            path = packHelpFile(dir, files);
            QVERIFY(!path.isEmpty());
        } else if (!content.isEmpty()) {
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
        // A missing help file is not created behind the user's back.
        if (content.isEmpty())
            QVERIFY(!QFile::exists(path));
    }

    // The help project as the window reads it: nested contents, keywords with and without
    // context numbers, and a page for a number only where a keyword says so.
    void readsTheHelpProject() {
        const QByteArray text = R"(<?xml version="1.0" encoding="UTF-8"?>
<QtHelpProject version="1.0"><namespace>x</namespace><filterSection>
  <toc><section title="Home" ref="index.html">
    <section title="A" ref="a.html"><section title="A1" ref="a1.html#part"/></section>
    <section title="B" ref="b.html"/></section></toc>
  <keywords><keyword name="Alpha" id="10" ref="a.html"/><keyword name="Beta" ref="b.html"/>
  </keywords><files><file>*.html</file></files></filterSection></QtHelpProject>)";
        const auto project = help::HelpProject::parse(text);
        QVERIFY(project);
        QCOMPARE(project->homePage(), QString("index.html"));
        QCOMPARE(sectionRefs(project->contents()),
                 (QStringList{"index.html", "a.html", "a1.html#part", "b.html"}));
        QCOMPARE(project->contents().first().children.first().children.first().title,
                 QString("A1"));
        QCOMPARE(project->keywords().size(), 2);
        QCOMPARE(project->pageForContext(10), QString("a.html"));
        QCOMPARE(project->pageForContext(20), QString());
        QString error;
        QVERIFY(!help::HelpProject::parse("<html/>", &error));
        QCOMPARE(error, QString("it is no help project"));
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
        QCOMPARE(window->currentPage(), window->pageUrl(window->project()->homePage()));
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
        QVERIFY(window->pageText().contains("Drive for FBPro"));
        ContextIDs::QuitHelp();
        dialog.close();
        QTRY_VERIFY(!openHelpWindow());
        ContextIDs::ShowHelpContents();
        QVERIFY(openHelpWindow());
        QCOMPARE(openHelpWindow()->windowModality(), Qt::NonModal);
        ContextIDs::QuitHelp();
    }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"

#include "help/helpwindow.h"

#include "help/helpbrowser.h"
#include "help/helppath.h"

#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace huddlex::help {

namespace {
const QString helpNamespace = QStringLiteral("huddlex.manual");
const QString helpFolder = QStringLiteral("doc");
} // namespace

QUrl topicForContext(const QHelpEngineCore& engine, int contextId) {
    const QList<QHelpLink> links = engine.documentsForIdentifier(QString::number(contextId));
    return links.isEmpty() ? QUrl() : links.first().url;
}

QUrl homePage() {
    return QUrl(QStringLiteral("qthelp://%1/%2/index.html").arg(helpNamespace, helpFolder));
}

HelpWindow::HelpWindow(const QString& collectionFile, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Huddlex Help"));
    setWindowFlag(Qt::Window);
    resize(780, 540);

    tabs_ = new QTabWidget;
    browser_ = new HelpBrowser;
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    if (!openCollection(collectionFile))
        return;
    browser_->setHelpEngine(engine_);

    QHelpContentWidget* contents = engine_->contentWidget();
    contents->setObjectName(QStringLiteral("helpContents"));
    contents->setHeaderHidden(true);
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::openPage);
    // The contents are read in the background; once there, show them whole and mark the page.
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
        QHelpContentWidget* tree = engine_->contentWidget();
        tree->expandAll();
        const QModelIndex item = tree->indexOf(browser_->source());
        if (item.isValid())
            tree->setCurrentIndex(item);
    });
    tabs_->addTab(contents, QStringLiteral("&Contents"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexFilter_ = new QLineEdit;
    indexFilter_->setObjectName(QStringLiteral("helpIndexFilter"));
    indexFilter_->setPlaceholderText(QStringLiteral("Type a keyword"));
    QHelpIndexWidget* index = engine_->indexWidget();
    index->setObjectName(QStringLiteral("helpIndex"));
    connect(indexFilter_, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(indexFilter_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link) { openPage(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links) {
                if (!links.isEmpty())
                    openPage(links.first().url);
            });
    indexLayout->addWidget(indexFilter_);
    indexLayout->addWidget(index);
    tabs_->addTab(indexPage, QStringLiteral("&Index"));
}

bool HelpWindow::openCollection(const QString& collectionFile) {
    if (!QFileInfo(collectionFile).isFile()) {
        QString places;
        for (const QString& candidate : helpFileCandidates())
            places += QStringLiteral("<li>%1</li>").arg(candidate.toHtmlEscaped());
        showProblem(QStringLiteral("<h2>Help is not available</h2>"
                                   "<p>The help file %1 could not be found. Huddlex looks for it "
                                   "in these places:</p><ul>%2</ul>"
                                   "<p>Reinstall Huddlex, or build it again, to put the help "
                                   "files (Huddlex.qhc and Huddlex.qch) back beside the "
                                   "program.</p>")
                        .arg(collectionFile.toHtmlEscaped(), places));
        return false;
    }
    auto* engine = new QHelpEngine(collectionFile, this);
    // The installed collection lies in a folder the user cannot write to.
    engine->setReadOnly(true);
    if (!engine->setupData()) {
        showProblem(QStringLiteral("<h2>Help is not available</h2>"
                                   "<p>The help file %1 could not be opened: %2</p>")
                        .arg(collectionFile.toHtmlEscaped(), engine->error().toHtmlEscaped()));
        delete engine;
        return false;
    }
    // A file that is no help collection opens as an empty one; say so instead of a blank page.
    if (engine->fileData(homePage()).isEmpty()) {
        showProblem(QStringLiteral("<h2>Help is not available</h2>"
                                   "<p>The help file %1 could not be opened: it holds no "
                                   "Huddlex help. Reinstall Huddlex, or build it again, to "
                                   "replace it.</p>")
                        .arg(collectionFile.toHtmlEscaped()));
        delete engine;
        return false;
    }
    engine_ = engine;
    return true;
}

void HelpWindow::showProblem(const QString& text) {
    browser_->setHtml(text);
}

void HelpWindow::openPage(const QUrl& url) {
    browser_->setSource(url);
    if (engine_) {
        QHelpContentWidget* contents = engine_->contentWidget();
        const QModelIndex item = contents->indexOf(url);
        if (item.isValid())
            contents->setCurrentIndex(item);
    }
}

void HelpWindow::showContents() {
    if (!engine_)
        return;
    tabs_->setCurrentIndex(0);
    openPage(homePage());
}

void HelpWindow::showTopic(int contextId) {
    if (!engine_)
        return;
    const QUrl topic = topicForContext(*engine_, contextId);
    if (topic.isEmpty()) {
        showProblem(QStringLiteral("<h2>No help for this item</h2>"
                                   "<p>The help file has no topic for context number %1. "
                                   "Choose a topic from the contents instead.</p>")
                        .arg(contextId));
        return;
    }
    openPage(topic);
}

QUrl HelpWindow::currentPage() const {
    return browser_->source();
}

QString HelpWindow::pageText() const {
    return browser_->toPlainText();
}

} // namespace huddlex::help

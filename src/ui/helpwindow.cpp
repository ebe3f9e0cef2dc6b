#include "ui/helpwindow.h"

#include "help/helppath.h"
#include "ui/helpbrowser.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QResource>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>

namespace huddlex::help {

namespace {

// Name of the help project inside the help file.
const QString projectName = QStringLiteral("huddlex.qhp");
constexpr int urlRole = Qt::UserRole;

// Each window maps its help file to a folder of its own, so windows never share a mapping.
QString nextRoot() {
    static int count = 0;
    return QStringLiteral("/huddlex-help-%1").arg(++count);
}

QUrl withoutFragment(const QUrl& url) {
    return url.adjusted(QUrl::RemoveFragment);
}

QTreeWidgetItem* findItem(QTreeWidgetItem* item, const QUrl& page) {
    if (withoutFragment(item->data(0, urlRole).toUrl()) == page)
        return item;
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem* found = findItem(item->child(i), page))
            return found;
    }
    return nullptr;
}

} // namespace

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent) : QWidget(parent) {
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

    contents_ = new QTreeWidget;
    contents_->setObjectName(QStringLiteral("helpContents"));
    contents_->setHeaderHidden(true);
    tabs_->addTab(contents_, QStringLiteral("&Contents"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexFilter_ = new QLineEdit;
    indexFilter_->setObjectName(QStringLiteral("helpIndexFilter"));
    indexFilter_->setPlaceholderText(QStringLiteral("Type a keyword"));
    index_ = new QListWidget;
    index_->setObjectName(QStringLiteral("helpIndex"));
    indexLayout->addWidget(indexFilter_);
    indexLayout->addWidget(index_);
    tabs_->addTab(indexPage, QStringLiteral("&Index"));

    if (!openHelpFile(helpFile))
        return;
    fillContents();
    fillIndex();

    const auto openItem = [this](QTreeWidgetItem* item) {
        openPage(item->data(0, urlRole).toUrl());
    };
    connect(contents_, &QTreeWidget::itemClicked, this, openItem);
    connect(contents_, &QTreeWidget::itemActivated, this, openItem);
    const auto openEntry = [this](QListWidgetItem* item) { openPage(item->data(urlRole).toUrl()); };
    connect(index_, &QListWidget::itemClicked, this, openEntry);
    connect(index_, &QListWidget::itemActivated, this, openEntry);
    connect(indexFilter_, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(indexFilter_, &QLineEdit::returnPressed, this, [this, openEntry] {
        if (QListWidgetItem* item = index_->currentItem(); item && !item->isHidden())
            openEntry(item);
    });
    // Links followed inside a page move the mark in the contents too.
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::markPage);
}

HelpWindow::~HelpWindow() {
    if (!root_.isEmpty())
        QResource::unregisterResource(file_, root_);
}

bool HelpWindow::openHelpFile(const QString& helpFile) {
    if (!QFileInfo(helpFile).isFile()) {
        QString places;
        for (const QString& candidate : helpFileCandidates())
            places += QStringLiteral("<li>%1</li>").arg(candidate.toHtmlEscaped());
        showProblem(QStringLiteral("<h2>Help is not available</h2>"
                                   "<p>The help file %1 could not be found. Huddlex looks for it "
                                   "in these places:</p><ul>%2</ul>"
                                   "<p>Reinstall Huddlex, or build it again, to put the help "
                                   "file (%3) back beside the program.</p>")
                        .arg(helpFile.toHtmlEscaped(), places, QString::fromLatin1(helpFileName)));
        return false;
    }
    const QString root = nextRoot();
    if (!QResource::registerResource(helpFile, root)) {
        showProblem(QStringLiteral("<h2>Help is not available</h2>"
                                   "<p>The help file %1 could not be opened: it is no Huddlex "
                                   "help file. Reinstall Huddlex, or build it again, to "
                                   "replace it.</p>")
                        .arg(helpFile.toHtmlEscaped()));
        return false;
    }
    file_ = helpFile;
    root_ = root;
    QFile projectFile(QLatin1Char(':') + root_ + QLatin1Char('/') + projectName);
    QString error = QStringLiteral("it holds no help project");
    if (projectFile.open(QIODevice::ReadOnly))
        project_ = HelpProject::parse(projectFile.readAll(), &error);
    if (!project_) {
        showProblem(QStringLiteral("<h2>Help is not available</h2>"
                                   "<p>The help file %1 could not be opened: %2. Reinstall "
                                   "Huddlex, or build it again, to replace it.</p>")
                        .arg(helpFile.toHtmlEscaped(), error.toHtmlEscaped()));
        return false;
    }
    browser_->setHelpRoot(root_);
    return true;
}

void HelpWindow::fillContents() {
    const std::function<void(QTreeWidgetItem*, const HelpSection&)> add =
        [&](QTreeWidgetItem* item, const HelpSection& section) {
            item->setText(0, section.title);
            item->setData(0, urlRole, pageUrl(section.ref));
            for (const HelpSection& child : section.children)
                add(new QTreeWidgetItem(item), child);
        };
    for (const HelpSection& section : project_->contents())
        add(new QTreeWidgetItem(contents_), section);
    contents_->expandAll();
}

void HelpWindow::fillIndex() {
    QList<HelpKeyword> keywords = project_->keywords();
    std::stable_sort(keywords.begin(), keywords.end(), [](const auto& a, const auto& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    for (const HelpKeyword& keyword : keywords) {
        auto* item = new QListWidgetItem(keyword.name, index_);
        item->setData(urlRole, pageUrl(keyword.ref));
    }
}

// Shows the entries that contain the text; the first that begins with it becomes current.
void HelpWindow::filterIndex(const QString& text) {
    QListWidgetItem* best = nullptr;
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < index_->count(); ++i) {
        QListWidgetItem* item = index_->item(i);
        const bool shown = item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (!shown)
            continue;
        if (!first)
            first = item;
        if (!best && item->text().startsWith(text, Qt::CaseInsensitive))
            best = item;
    }
    index_->setCurrentItem(best ? best : first);
}

QUrl HelpWindow::pageUrl(const QString& ref) const {
    QUrl url;
    url.setScheme(QStringLiteral("qrc"));
    url.setPath(root_ + QLatin1Char('/') + ref.section(QLatin1Char('#'), 0, 0));
    if (ref.contains(QLatin1Char('#')))
        url.setFragment(ref.section(QLatin1Char('#'), 1));
    return url;
}

void HelpWindow::showProblem(const QString& text) {
    browser_->setHtml(text);
}

void HelpWindow::openPage(const QUrl& url) {
    browser_->setSource(url);
    markPage(url);
}

void HelpWindow::markPage(const QUrl& url) {
    const QUrl page = withoutFragment(url);
    for (int i = 0; i < contents_->topLevelItemCount(); ++i) {
        if (QTreeWidgetItem* item = findItem(contents_->topLevelItem(i), page)) {
            contents_->setCurrentItem(item);
            return;
        }
    }
}

void HelpWindow::showContents() {
    if (!project_)
        return;
    tabs_->setCurrentIndex(0);
    openPage(pageUrl(project_->homePage()));
}

void HelpWindow::showTopic(int contextId) {
    if (!project_)
        return;
    const QString topic = project_->pageForContext(contextId);
    if (topic.isEmpty()) {
        showProblem(QStringLiteral("<h2>No help for this item</h2>"
                                   "<p>The help file has no topic for context number %1. "
                                   "Choose a topic from the contents instead.</p>")
                        .arg(contextId));
        return;
    }
    openPage(pageUrl(topic));
}

QUrl HelpWindow::currentPage() const {
    return browser_->source();
}

QString HelpWindow::pageText() const {
    return browser_->toPlainText();
}

} // namespace huddlex::help

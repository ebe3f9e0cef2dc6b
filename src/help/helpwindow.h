#pragma once

#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QHelpEngineCore;
class QLineEdit;
class QTabWidget;

namespace huddlex::help {

class HelpBrowser;

// The topic registered under a context number in the help collection, or an empty URL.
QUrl topicForContext(const QHelpEngineCore& engine, int contextId);

// The first page of the help, shown with the contents.
QUrl homePage();

// The help window: contents tree and index on the left, the page on the right. When the
// help collection cannot be opened the page says so and where it was looked for.
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& collectionFile, QWidget* parent = nullptr);

    bool hasHelp() const { return engine_ != nullptr; }
    void showContents();
    void showTopic(int contextId);
    QUrl currentPage() const;
    QString pageText() const;

private:
    void openPage(const QUrl& url);
    void showProblem(const QString& text);
    bool openCollection(const QString& collectionFile);

    QHelpEngine* engine_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
    HelpBrowser* browser_ = nullptr;
};

} // namespace huddlex::help

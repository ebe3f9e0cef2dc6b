#pragma once

#include "help/helpproject.h"

#include <QUrl>
#include <QWidget>
#include <optional>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;

namespace huddlex::help {

class HelpBrowser;

// The help window: contents tree and index on the left, the page on the right, all read
// from the help file (the help project and its pages, packed by the build). When the help
// file cannot be opened the page says so and where it was looked for.
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);
    ~HelpWindow() override;

    bool hasHelp() const { return project_.has_value(); }
    void showContents();
    void showTopic(int contextId);
    QUrl currentPage() const;
    QString pageText() const;

    // Address of a page of the help project ("index.html"), as the window shows it.
    QUrl pageUrl(const QString& ref) const;
    // The help project in use, when the help file could be opened.
    const std::optional<HelpProject>& project() const { return project_; }

private:
    bool openHelpFile(const QString& helpFile);
    void fillContents();
    void fillIndex();
    void filterIndex(const QString& text);
    void openPage(const QUrl& url);
    void markPage(const QUrl& url);
    void showProblem(const QString& text);

    QString file_;
    QString root_;
    std::optional<HelpProject> project_;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
    QListWidget* index_ = nullptr;
    HelpBrowser* browser_ = nullptr;
};

} // namespace huddlex::help

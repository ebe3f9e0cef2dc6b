#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace huddlex::help {

// One entry of the table of contents: a title, the page it opens and the entries below it.
struct HelpSection {
    QString title;
    QString ref;
    QList<HelpSection> children;
};

// One index entry. Entries with an id are the topics that context numbers open.
struct HelpKeyword {
    QString name;
    QString id;
    QString ref;
};

// The help project file (huddlex.qhp, Qt's help project format): table of contents, index
// and the context numbers, read as the help window needs them.
class HelpProject {
public:
    // Reads the project; nothing (and `error` says why) when it is no help project or has
    // no table of contents.
    static std::optional<HelpProject> parse(const QByteArray& xml, QString* error = nullptr);

    const QList<HelpSection>& contents() const { return contents_; }
    const QList<HelpKeyword>& keywords() const { return keywords_; }

    // The page a context number opens, or an empty string.
    QString pageForContext(int contextId) const;

    // The first page of the contents, shown with them.
    QString homePage() const;

private:
    QList<HelpSection> contents_;
    QList<HelpKeyword> keywords_;
};

} // namespace huddlex::help

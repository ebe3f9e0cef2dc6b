#pragma once

#include <QTextBrowser>

namespace huddlex::help {

// Page view that reads its pages, style sheet and pictures from the help file's folder
// inside the resources, and from nowhere else.
class HelpBrowser final : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    // `root` is the resource folder the help file is mapped to, e.g. "/huddlex-help".
    void setHelpRoot(const QString& root) { root_ = root; }

    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString root_;
};

} // namespace huddlex::help

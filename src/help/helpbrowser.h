#pragma once

#include <QTextBrowser>

class QHelpEngineCore;

namespace huddlex::help {

// Page view that reads its pages and pictures out of the help collection.
class HelpBrowser final : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    void setHelpEngine(QHelpEngineCore* engine) { engine_ = engine; }

    QVariant loadResource(int type, const QUrl& name) override;

private:
    QHelpEngineCore* engine_ = nullptr;
};

} // namespace huddlex::help

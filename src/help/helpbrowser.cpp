#include "help/helpbrowser.h"

#include <QHelpEngineCore>

namespace huddlex::help {

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("helpBrowser"));
    // Links leaving the help (none are written, but a page might carry one) open nowhere.
    setOpenExternalLinks(false);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (engine_ && name.scheme() == QLatin1String("qthelp"))
        return engine_->fileData(name);
    return QTextBrowser::loadResource(type, name);
}

} // namespace huddlex::help

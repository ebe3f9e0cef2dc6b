#include "ui/helpbrowser.h"

#include <QDir>
#include <QFile>

namespace huddlex::help {

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("helpBrowser"));
    // Links leaving the help (none are written, but a page might carry one) open nowhere.
    setOpenExternalLinks(false);
}

QVariant HelpBrowser::loadResource(int, const QUrl& name) {
    if (root_.isEmpty() || name.scheme() != QLatin1String("qrc"))
        return {};
    const QString path = QDir::cleanPath(name.path());
    if (!path.startsWith(root_ + QLatin1Char('/')))
        return {};
    QFile file(QLatin1Char(':') + path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace huddlex::help

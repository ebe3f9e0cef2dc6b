#include "ui/existingfilesdialog.h"

#include "ui/contextids.h"
#include "ui/twips.h"

#include <QLabel>
#include <QPushButton>

namespace huddlex::ui {

frmExistingFiles::frmExistingFiles(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmExistingFiles"));
    setWindowTitle(QStringLiteral("Huddlex - Warning"));
    setProperty(ContextIDs::contextProperty, ContextIDs::frmExistingFiles);
    setFixedSize(twips(3165), twips(1395));

    auto* yes = new QPushButton(QStringLiteral("Yes"), this);
    yes->setObjectName(QStringLiteral("cmdYes"));
    yes->setGeometry(twipsRect(120, 840, 1335, 375));
    auto* no = new QPushButton(QStringLiteral("No"), this);
    no->setObjectName(QStringLiteral("cmdNo"));
    no->setGeometry(twipsRect(1680, 840, 1335, 375));
    auto* message = new QLabel(QStringLiteral("There are files present from a previous game. "
                                              "Would you like to delete them now?"),
                               this);
    message->setObjectName(QStringLiteral("lblMessage"));
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message->setGeometry(twipsRect(120, 120, 2895, 735));

    setTabOrder(yes, no);
    yes->setDefault(true);
    yes->setFocus();
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace huddlex::ui

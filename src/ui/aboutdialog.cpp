#include "ui/aboutdialog.h"

#include "help/programinfo.h"
#include "ui/contextids.h"
#include "ui/icons.h"
#include "ui/twips.h"

#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace huddlex::ui {

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& where) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(where);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

// One stroke of the etched rule under the description.
void addStroke(QWidget* parent, const char* name, const QColor& colour, const QRect& where) {
    auto* stroke = new QFrame(parent);
    stroke->setObjectName(QLatin1String(name));
    stroke->setGeometry(where);
    stroke->setAutoFillBackground(true);
    QPalette palette = stroke->palette();
    palette.setColor(QPalette::Window, colour);
    stroke->setPalette(palette);
}

} // namespace

QString displayedCaption(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Huddlex"));
    setProperty(ContextIDs::contextProperty, ContextIDs::frmAbout);
    const QIcon icon = programIcon(QStringLiteral("huddlex"));
    setWindowIcon(icon);
    setFixedSize(twips(5730), twips(3495));
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(twipsRect(240, 360, 480, 480));
    picture->setPixmap(icon.pixmap(32, 32));

    lblTitle = addLabel(this, "lblTitle", QString(), twipsRect(1050, 120, 3885, 720));
    QFont titleFont(QStringLiteral("Arial Black"));
    titleFont.setPointSize(24);
    titleFont.setItalic(true);
    lblTitle->setFont(titleFont);
    lblVersion =
        addLabel(this, "lblVersion", QStringLiteral("Version"), twipsRect(1080, 960, 3885, 225));
    addLabel(this, "lblDescription",
             displayedCaption(QStringLiteral("For use with FBPro 97 && 98")),
             twipsRect(1080, 1440, 3885, 810));

    addStroke(this, "Line1_1", QColor(128, 128, 128),
              QRect(twips(90), twips(2445), twips(5654 - 90), 1));
    addStroke(this, "Line1_0", Qt::white, QRect(twips(105), twips(2460), twips(5654 - 105), 2));

    QLabel* maker = addLabel(this, "Label4", QStringLiteral("The Huddlex developers"),
                             twipsRect(120, 2520, 2175, 375));
    QFont makerFont(QStringLiteral("Tempus Sans ITC"));
    makerFont.setPointSizeF(15.75);
    makerFont.setBold(true);
    makerFont.setItalic(true);
    // The designed face is rarely installed and a stand-in may run wider: the label takes the
    // free room up to the OK button, then the font shrinks until the name fits.
    const int room = twips(4320 - 120 - 60);
    const auto needed = [&] {
        return QFontMetrics(makerFont).boundingRect(maker->text()).width() + 6;
    };
    maker->resize(std::min(std::max(maker->width(), needed()), room), maker->height());
    while (makerFont.pointSizeF() > 8 && needed() > maker->width())
        makerFont.setPointSizeF(makerFont.pointSizeF() - 0.25);
    maker->setFont(makerFont);
    maker->setWordWrap(false);
    addLabel(this, "txtHomePage", QStringLiteral("Help: press F1 in any window"),
             twipsRect(120, 2880, 3870, 465));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twipsRect(4320, 2625, 1260, 345));
    // Default for Enter; Esc and the close box reject, which closes the box just the same.
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    Form_Load();
}

void frmAbout::Form_Load() {
    lblVersion->setText(versionText(programVersion()));
    lblTitle->setText(applicationTitle());
}

} // namespace huddlex::ui

#include "ui/statusbar.h"

#include <QLabel>
#include <QMouseEvent>

namespace huddlex::ui {

StatusBar::StatusBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("StatusBar1"));
    const QString texts[] = {QStringLiteral("Status: Stop"), PlaysText(0)};
    for (int i = 0; i < 2; ++i) {
        auto* panel = new QLabel(texts[i], this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i] = panel;
    }
    panel1Text_ = panels_[0]->text();
    panels_[0]->installEventFilter(this);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("StatusMessage"));
    message_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    message_->setAutoFillBackground(true); // covers the panels, not drawn over them
    message_->hide();
}

const QStringList& StatusBar::panel1Texts() {
    static const QStringList texts = {
        QStringLiteral("Status: Stop"),       QStringLiteral("Status: Running"),
        QStringLiteral("Status: Validating"), QStringLiteral("Status: Working"),
        QStringLiteral("Copy failed"),        QStringLiteral("No game folder"),
    };
    return texts;
}

void StatusBar::layoutPanels(int panelWidth) {
    const int panelHeight = height() - 4;
    for (int i = 0; i < 2; ++i)
        panels_[i]->setGeometry((panelWidth + 2) * i + 1, 2, panelWidth, panelHeight);
    message_->setGeometry(1, 2, width() - 2, panelHeight);
}

void StatusBar::setPanelText(int panel, const QString& text) {
    if (panel == 2)
        panels_[1]->setText(text);
    if (panel != 1)
        return;
    problem_.clear(); // a status text of its own replaces the problem shown
    panel1Text_ = text;
    showPanel1();
}

QString StatusBar::panelText(int panel) const {
    return panel == 1 || panel == 2 ? panels_[panel - 1]->text() : QString();
}

void StatusBar::showCaptureProblem(const QString& reason) {
    problem_ = reason;
    showPanel1();
}

void StatusBar::clearCaptureProblem() {
    problem_.clear();
    showPanel1();
}

void StatusBar::setGameFolderHint(const QString& reason) {
    hint_ = reason;
    showPanel1();
}

// A reason is too long for the tiny window: the tool tip carries it and a click on the panel
// shows it whole. Panel 2 keeps its colour: its count is not in question.
void StatusBar::showPanel1() {
    QLabel* panel = panels_[0];
    const QString& reason = hint_.isEmpty() ? problem_ : hint_;
    if (reason.isEmpty()) {
        panel->setText(panel1Text_);
        panel->setStyleSheet(QString());
        panel->setToolTip(QString());
        panel->unsetCursor();
        return;
    }
    // A missing game folder outranks a copy problem, which it most likely caused.
    panel->setText(hint_.isEmpty() ? QStringLiteral("Copy failed")
                                   : QStringLiteral("No game folder"));
    // By name: the tool tip takes the panel's style sheet, and stays black on yellow.
    panel->setStyleSheet(QStringLiteral("#Panel1 { color: #c00000; }"));
    panel->setToolTip(hint_.isEmpty() ? reason : panel1Text_ + QLatin1Char('\n') + reason);
    panel->setCursor(Qt::PointingHandCursor);
}

void StatusBar::showMessage(const QString& text, const QString& details) {
    const QFontMetrics metrics(message_->font());
    const int room = message_->contentsRect().width() - metrics.horizontalAdvance(QLatin1Char('x'));
    messageText_ = text;
    message_->setText(metrics.elidedText(text, Qt::ElideRight, room));
    message_->setToolTip(details.isEmpty() ? text : details);
    message_->show();
    message_->raise();
}

void StatusBar::clearMessage() {
    message_->hide();
    message_->clear();
    message_->setToolTip(QString());
    messageText_.clear();
}

QString StatusBar::message() const {
    return message_->isHidden() ? QString() : messageText_;
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panels_[0] && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        !(hint_.isEmpty() && problem_.isEmpty())) {
        emit problemClicked(hint_.isEmpty() ? problem_ : hint_);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace huddlex::ui

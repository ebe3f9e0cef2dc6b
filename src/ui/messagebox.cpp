#include "ui/messagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace huddlex::ui {

void MessageBoxNotifier::showMessage(const QString& text) {
    QWidget* parent = parent_ && parent_->isVisible() ? parent_ : nullptr;
    QMessageBox::information(parent, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

} // namespace huddlex::ui

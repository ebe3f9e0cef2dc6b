#pragma once

#include "common/userinterfaces.h"

class QWidget;

namespace huddlex::ui {

// Message boxes with an OK button and the application's title.
class MessageBoxNotifier final : public Notifier {
public:
    explicit MessageBoxNotifier(QWidget* parent = nullptr) : parent_(parent) {}
    void showMessage(const QString& text) override;

private:
    QWidget* parent_;
};

} // namespace huddlex::ui

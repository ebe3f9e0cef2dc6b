#pragma once

#include <QObject>
#include <optional>

class QWidget;

namespace huddlex::help {

// The context number F1 asks for when `receiver` gets the key: the highlighted item of an
// open menu when it has one, otherwise the window's number. A window without a number
// takes its owner's (a message box over the main window gets the main window's topic).
std::optional<int> contextForF1(QWidget* receiver);

// Application-wide F1: asks the help viewer for the topic of the window or menu item.
class F1Filter final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace huddlex::help

#include "ui/f1filter.h"

#include "ui/contextids.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace huddlex::help {

namespace {

std::optional<int> contextOf(const QObject* object) {
    const QVariant value = object->property(ContextIDs::contextProperty);
    bool ok = false;
    const int id = value.toInt(&ok);
    if (!value.isValid() || !ok)
        return std::nullopt;
    return id;
}

std::optional<int> windowContext(QWidget* widget) {
    for (QWidget* window = widget ? widget->window() : nullptr; window;) {
        if (const auto id = contextOf(window))
            return id;
        QWidget* owner = window->parentWidget();
        window = owner ? owner->window() : nullptr;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> contextForF1(QWidget* receiver) {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        if (QAction* item = menu->activeAction()) {
            if (const auto id = contextOf(item))
                return id;
        }
        // A popup menu is a window of its own; its owner is the menu bar's window.
        if (const auto id = windowContext(menu))
            return id;
    }
    return windowContext(receiver);
}

bool F1Filter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // Key events pass the platform window first; they are handled once they reach a widget.
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !widget)
        return false;
    const auto id = contextForF1(widget);
    if (!id)
        return false;
    // The menu closes, as it would for any command, so the help window is not hidden by it.
    for (int guard = 0; guard < 8 && QApplication::activePopupWidget(); ++guard)
        QApplication::activePopupWidget()->close();
    ContextIDs::ShowHelpContext(*id);
    return true;
}

} // namespace huddlex::help

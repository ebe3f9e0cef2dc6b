#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace huddlex::ui {

int twips(int value) {
    double dpi = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInch();
    return int(std::lround(value * dpi / 1440.0));
}

} // namespace huddlex::ui

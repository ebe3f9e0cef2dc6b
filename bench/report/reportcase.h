#pragma once

#include "leaguecase.h"

#include <QList>
#include <QString>

// The league case with what a validation report has to explain: families of near-identical
// plays (one formation, different routes) that no plan names, and after the league's own
// captures a mix of unknown plays made from the library.
struct ReportCase {
    // How a captured play was made, and from which library play ("" for none).
    struct Made {
        int capture = 0;
        QString kind; // unnamed, changed, truncated, truncated-changed, extended, random
        QString origin;
    };

    LeagueCase league;
    QList<Made> made;

    // Writes everything below `root` (the Wine prefix is root/wine).
    void write(const QString& root);
    // The captured plays made by changing a library play: the ones fuzzy hashes are tried on.
    QList<Made> modified() const;
};

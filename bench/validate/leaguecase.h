#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A league-sized game folder on drive C: of a scratch Wine prefix: a play library with a
// common header, four plans naming plays from it, captured plays of which some are unknown,
// and a long play.log.
struct LeagueCase {
    QString root;      // host folder holding the Wine prefix
    QString gameHost;  // host path of C:\Sierra\FBPro97
    QStringList named; // distinct play entries the plans name, in first-naming order
    int capturedPlays = 0;
    int unknownPlays = 0; // as generated

    void writeLibrary(int playFiles, int plans, int playsPerPlan, int captured,
                      double unknownShare);
    void writePlayLog(int lines, int markerLines);
    void write(const QString& belowGame, const QByteArray& data) const;
};

#pragma once

#include <QString>

// A league's season: a pool of play files in families of near-identical plays, zipped with the
// main play folder at its top, and every week's games as the zips coaches send (capture folder
// at the top): plans naming pool plays, some plans naming plays the pool lacks, captured plays
// that are pool plays, a few percent of them modified.
struct Season {
    int teams = 30;
    int weeks = 17;
    int poolPlays = 3000;
    int playsPerGame = 150;
    double modifiedShare = 0.03;
    double gapPlanShare = 0.1; // plans naming a play the pool lacks

    // Writes pool.zip and season/weekNN/gameNN.zip below `dir`.
    void write(const QString& dir) const;
};

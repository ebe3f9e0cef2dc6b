#pragma once

#include "league/leagueresult.h"
#include "league/leaguesource.h"
#include "report/playlibrary.h"

#include <optional>

namespace huddlex::league {

// The league's pool opened for a run: a folder or a zip whose top either holds the main play
// folder (an entry named like it, letter case ignored) or is that folder itself. Either way
// plan paths such as VPNFL\Offense\Draw3.ply start at entryRoot and name Offense\Draw3.ply of
// the play folder by the case rules of a game folder. The pool is read through a cache
// (poolcache.h): every game of the run shares one read of it.
struct LeaguePool {
    PoolSummary summary;
    OpenedSource source;
    std::optional<fs::Folder> entryRoot; // nothing when the pool could not be read
    std::optional<PlayLibrary> library;  // the play folder's plays, listed once for every report
    // The pool's files by name alone, for the plan gaps of every game: a spelling is looked up
    // once per run.
    std::shared_ptr<CandidateFiles> names;
    // The same with each file's first bytes, for identifying the plays of every game.
    std::shared_ptr<CandidateFiles> prefixes;
    qint64 unlistedFolders = 0; // folders of the play folder that could not be listed

    // The summary with what could not be read so far.
    PoolSummary summaryNow() const;
};

LeaguePool OpenPool(const QString& hostPath, const QString& playFolder);

} // namespace huddlex::league

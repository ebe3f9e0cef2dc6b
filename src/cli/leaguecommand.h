#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>

namespace huddlex {

struct LeagueArguments {
    QString pool;
    QString playFolder;
    QString report; // empty, "json", "csv" or "html"
    QStringList games;
};

// `huddlex-validate --pool POOL [--play-folder NAME] [--report json|csv|html] GAME...`: the
// league check, results on `out` (with progress on `err` when it is a terminal), messages on
// `err`. `usage` reports a usage error and gives its exit status.
int runLeagueCommand(const LeagueArguments& arguments, std::FILE* out, std::FILE* err,
                     const std::function<int(const QString& problem)>& usage);

} // namespace huddlex

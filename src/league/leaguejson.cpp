#include "league/leaguewriters.h"
#include "report/reportwriters.h"

namespace huddlex::league {

namespace {

QByteArray jsonString(const QString& text) {
    QByteArray out;
    AppendJsonString(out, text);
    return out;
}

QByteArray jsonStrings(const QStringList& texts) {
    QByteArray out = "[";
    for (qsizetype i = 0; i < texts.size(); ++i)
        out += (i > 0 ? ", " : "") + jsonString(texts[i]);
    return out + ']';
}

QByteArray jsonBool(bool value) {
    return value ? "true" : "false";
}

QByteArray plansJson(const QList<GamePlan>& plans) {
    QByteArray out = "[";
    for (qsizetype i = 0; i < plans.size(); ++i) {
        const PlanSummary& plan = plans[i].summary;
        out += (i > 0 ? ",\n        {" : "\n        {");
        out += "\"slot\": " + jsonString(plan.slot) + ", \"file\": " + jsonString(plan.file) +
               ", \"loaded\": " + jsonBool(plan.loaded) +
               ", \"plays_named\": " + QByteArray::number(plan.playsNamed) +
               ", \"gaps\": " + jsonStrings(plans[i].gaps) + '}';
    }
    return out + (plans.isEmpty() ? "]" : "\n      ]");
}

QByteArray gameJson(const LeagueGame& game) {
    QByteArray out = "{\n      \"game\": " + jsonString(game.game) +
                     ",\n      \"status\": " + (game.checked() ? "\"checked\"" : "\"error\"");
    if (!game.checked())
        out += ",\n      \"error\": " + jsonString(game.error);
    out += ",\n      \"capture_folder\": " + jsonString(game.captureFolder);
    out += ",\n      \"plans\": " + plansJson(game.plans) + ",\n      \"plays\": [";
    for (qsizetype i = 0; i < game.plays.size(); ++i) {
        out += i > 0 ? ",\n        " : "\n        ";
        AppendReportPlay(out, game.plays[i]);
    }
    out += game.plays.isEmpty() ? "]" : "\n      ]";
    out += ",\n      \"unknown\": " + QByteArray::number(game.unknown) +
           ",\n      \"problems\": " + jsonStrings(game.problems) + "\n    }";
    return out;
}

} // namespace

QByteArray LeagueJson(const LeagueResult& result) {
    const PoolSummary& pool = result.pool;
    QByteArray out = "{\n  \"pool\": {\"path\": " + jsonString(pool.path) +
                     ", \"play_folder\": " + jsonString(pool.playFolder) +
                     ", \"holds_play_folder\": " + jsonBool(pool.holdsPlayFolder) +
                     ", \"plays\": " + QByteArray::number(pool.plays);
    if (!pool.error.isEmpty())
        out += ", \"error\": " + jsonString(pool.error);
    out += ", \"problems\": " + jsonStrings(pool.problems) + "},\n  \"games\": [";
    for (qsizetype i = 0; i < result.games.size(); ++i)
        out += (i > 0 ? ",\n    " : "\n    ") + gameJson(result.games[i]);
    out += result.games.isEmpty() ? "],\n  \"repeated\": [" : "\n  ],\n  \"repeated\": [";
    for (qsizetype i = 0; i < result.repeated.size(); ++i) {
        const RepeatedPlay& play = result.repeated[i];
        out += (i > 0 ? ",\n    {" : "\n    {");
        out += "\"sha256\": \"" + play.sha256 + "\", \"bytes\": " + QByteArray::number(play.bytes) +
               ", \"verdict\": " + jsonString(VerdictName(play.verdict)) +
               ", \"games\": " + jsonStrings(play.games) + '}';
    }
    out += result.repeated.isEmpty() ? "]" : "\n  ]";
    out += ",\n  \"unknown\": " + QByteArray::number(result.unknown()) +
           ",\n  \"gaps\": " + QByteArray::number(result.gaps()) +
           ",\n  \"cancelled\": " + jsonBool(result.cancelled) +
           ",\n  \"status\": " + QByteArray::number(int(result.status())) + "\n}\n";
    return out;
}

} // namespace huddlex::league

#include "report/reportwriters.h"

namespace huddlex {

namespace {

void appendJsonString(QByteArray& out, const QString& text) {
    out += '"';
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += QByteArray("\\u00") +
                       QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    out += '"';
}

struct JsonObject {
    QByteArray& out;
    bool first = true;

    JsonObject& key(const char* name) {
        out += first ? "{\"" : ", \"";
        first = false;
        out += name;
        out += "\": ";
        return *this;
    }
    JsonObject& string(const char* name, const QString& value) {
        appendJsonString(key(name).out, value);
        return *this;
    }
    JsonObject& number(const char* name, qint64 value) {
        key(name).out += QByteArray::number(value);
        return *this;
    }
    void close() { out += first ? "{}" : "}"; }
};

void appendPlay(QByteArray& out, const PlayEntry& play) {
    JsonObject object{out};
    object.number("capture", play.capture).string("file", play.file);
    object.key("bytes").out += play.bytes ? QByteArray::number(*play.bytes) : "null";
    object.string("outcome", play.outcome).string("verdict", VerdictName(play.verdict));
    switch (play.verdict) {
    case Verdict::Identified: {
        QByteArray& list = object.key("named_by").out;
        list += '[';
        for (qsizetype i = 0; i < play.namedBy.size(); ++i) {
            if (i > 0)
                list += ", ";
            appendJsonString(list, play.namedBy[i]);
        }
        list += ']';
        break;
    }
    case Verdict::NotInPlans:
        object.string("match", play.match);
        break;
    case Verdict::Unchecked:
        object.string("unreadable", play.match);
        break;
    case Verdict::Modified: {
        object.string("nearest", play.nearest);
        if (!play.edits.isEmpty()) {
            object.number("nearest_bytes", play.nearestBytes)
                .number("edit_distance", play.editDistance);
            QByteArray& list = object.key("edits").out;
            list += '[';
            for (qsizetype i = 0; i < play.edits.size(); ++i) {
                const EditRun& run = play.edits[i];
                if (i > 0)
                    list += ", ";
                JsonObject{list}
                    .string("op", EditOpName(run.op))
                    .number("at", run.at)
                    .number("nearest_at", run.nearestAt)
                    .number("bytes", run.bytes)
                    .close();
            }
            list += ']';
            break;
        }
        object.number("differing_bytes", play.differingBytes)
            .number("nearest_bytes", play.nearestBytes);
        QByteArray& list = object.key("ranges").out;
        list += '[';
        for (qsizetype i = 0; i < play.ranges.size(); ++i) {
            list += i > 0 ? ", [" : "[";
            list += QByteArray::number(play.ranges[i].first) + ", " +
                    QByteArray::number(play.ranges[i].last) + ']';
        }
        list += ']';
        break;
    }
    default:
        break;
    }
    if (play.changedSinceRun)
        object.key("changed_since_run").out += "true";
    object.close();
}

void appendStringList(QByteArray& out, const char* name, const QStringList& list) {
    out += "  \"";
    out += name;
    out += "\": [";
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += ", ";
        appendJsonString(out, list[i]);
    }
    out += "],\n";
}

QByteArray csvField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') &&
        !bytes.contains('\n'))
        return bytes;
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}

QString rangesText(const QList<ByteRange>& ranges) {
    QStringList parts;
    for (const ByteRange& range : ranges)
        parts << QStringLiteral("%1-%2").arg(range.first).arg(range.last);
    return parts.join(QLatin1Char(' '));
}

QString editsText(const QList<EditRun>& edits) {
    QStringList parts;
    for (const EditRun& run : edits)
        parts << QStringLiteral("%1:%2:%3:%4")
                     .arg(EditOpName(run.op))
                     .arg(run.at)
                     .arg(run.nearestAt)
                     .arg(run.bytes);
    return parts.join(QLatin1Char(' '));
}

} // namespace

QByteArray ReportJson(const ValidationReport& report) {
    QByteArray out;
    out.reserve(256 + report.plays.size() * 160);
    out += "{\n  \"game_folder\": ";
    appendJsonString(out, report.gameFolder);
    out += ",\n  \"plans\": [";
    for (qsizetype i = 0; i < report.plans.size(); ++i) {
        const PlanSummary& plan = report.plans[i];
        out += i > 0 ? ",\n    " : "\n    ";
        JsonObject object{out};
        object.string("slot", plan.slot).string("file", plan.file);
        object.key("loaded").out += plan.loaded ? "true" : "false";
        object.number("plays_named", plan.playsNamed).close();
    }
    out += report.plans.isEmpty() ? "],\n  \"plays\": [" : "\n  ],\n  \"plays\": [";
    for (qsizetype i = 0; i < report.plays.size(); ++i) {
        out += i > 0 ? ",\n    " : "\n    ";
        appendPlay(out, report.plays[i]);
    }
    out += report.plays.isEmpty() ? "],\n" : "\n  ],\n";
    appendStringList(out, "unreadable", report.unreadable);
    appendStringList(out, "changed_since_run", report.changedSinceRun);
    out += "  \"unknown\": " + QByteArray::number(report.unknown) + "\n}\n";
    return out;
}

QByteArray ReportCsv(const ValidationReport& report) {
    QByteArray out = "capture,file,bytes,outcome,verdict,named_by,match,nearest,differing_bytes,"
                     "nearest_bytes,ranges,edits\r\n";
    for (const PlayEntry& play : report.plays) {
        const bool modified = play.verdict == Verdict::Modified;
        const bool byPosition = modified && play.edits.isEmpty();
        const QStringList fields{
            QString::number(play.capture),
            play.file,
            play.bytes ? QString::number(*play.bytes) : QString(),
            play.outcome,
            VerdictName(play.verdict),
            play.namedBy.join(QLatin1Char(' ')),
            play.match,
            play.nearest,
            byPosition ? QString::number(play.differingBytes) : QString(),
            modified ? QString::number(play.nearestBytes) : QString(),
            rangesText(play.ranges),
            editsText(play.edits),
        };
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out += ',';
            out += csvField(fields[i]);
        }
        out += "\r\n";
    }
    return out;
}

void AppendReportPlay(QByteArray& out, const PlayEntry& play) {
    appendPlay(out, play);
}

void AppendJsonString(QByteArray& out, const QString& text) {
    appendJsonString(out, text);
}

QByteArray CsvField(const QString& text) {
    return csvField(text);
}

} // namespace huddlex

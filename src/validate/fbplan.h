#pragma once

#include "validate/playpathlist.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <optional>

namespace huddlex {

// The outcome of a captured play that matches no candidate.
inline const QString UnknownPlay = QStringLiteral("Unknown Play");

// The plan module's state: the four plan lists, the candidate list they make and the last
// validation's outcomes. Every list is absent until first set and is replaced whole.
class FBPlan {
public:
    std::optional<PlayPathList> gOff1Plays;
    std::optional<PlayPathList> gDef1Plays;
    std::optional<PlayPathList> gOff2Plays;
    std::optional<PlayPathList> gDef2Plays;
    std::optional<PlayPathList> gPlayFiles;
    // One outcome per capture number: a plan entry (Latin-1, byte for byte) or UnknownPlay.
    std::optional<QStringList> gPlayResults;

    void SetOff1Plays(const QByteArray& text, QByteArrayView startMarker, QByteArrayView endMarker);
    void SetDef1Plays(const QByteArray& text, QByteArrayView startMarker, QByteArrayView endMarker);
    void SetOff2Plays(const QByteArray& text, QByteArrayView startMarker, QByteArrayView endMarker);
    // Also rebuilds gPlayFiles: the candidates change only once all four plans were read.
    void SetDef2Plays(const QByteArray& text, QByteArrayView startMarker, QByteArrayView endMarker);

    // gPlayFiles = gOff1Plays, gOff2Plays, gDef1Plays, gDef2Plays, in that block order.
    void BuildPlayFileList();
};

} // namespace huddlex

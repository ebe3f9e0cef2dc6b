#include "validate/fbplan.h"

namespace huddlex {

void FBPlan::SetOff1Plays(const QByteArray& text, QByteArrayView startMarker,
                          QByteArrayView endMarker) {
    gOff1Plays = ExtractPlayPaths(text, startMarker, endMarker);
}

void FBPlan::SetDef1Plays(const QByteArray& text, QByteArrayView startMarker,
                          QByteArrayView endMarker) {
    gDef1Plays = ExtractPlayPaths(text, startMarker, endMarker);
}

void FBPlan::SetOff2Plays(const QByteArray& text, QByteArrayView startMarker,
                          QByteArrayView endMarker) {
    gOff2Plays = ExtractPlayPaths(text, startMarker, endMarker);
}

void FBPlan::SetDef2Plays(const QByteArray& text, QByteArrayView startMarker,
                          QByteArrayView endMarker) {
    gDef2Plays = ExtractPlayPaths(text, startMarker, endMarker);
    BuildPlayFileList();
}

void FBPlan::BuildPlayFileList() {
    PlayPathList joined;
    for (const auto* list : {&gOff1Plays, &gOff2Plays, &gDef1Plays, &gDef2Plays}) {
        if (*list) {
            joined.append(**list);
        }
    }
    gPlayFiles = std::move(joined);
}

} // namespace huddlex

#pragma once

#include <QString>
#include <QStringList>

// Game folders built the way an opponent or an untidy disk might leave them, each with an
// ordinary twin of the same size: the validation run must cost about the same on both.
namespace hostile {

struct Case {
    QString name;  // hostile case, as given to --case
    QString twin;  // its ordinary twin
    QString about; // one line for the report
};

// gaps: 10,000 captured plays numbered 0, 2, 4 ... 19,998; other-case: the same 10,000 in
// a capture folder and names of another letter case; twin: 0 to 9,999 as capture names them.
// spellings: a plan naming one play through 16,384 letter-case spellings of its two folders,
// over a folder of 2,000 plays; its twin names it 16,384 times as on disk.
// sparse: 40 GB sparse captured plays and a 40 GB sparse candidate; its twin the same with
// 16 KB files.
QList<Case> cases();

// Writes case `name` into the game folder `gameHost` (host path of C:\Sierra\FBPro97).
void write(const QString& name, const QString& gameHost);

} // namespace hostile

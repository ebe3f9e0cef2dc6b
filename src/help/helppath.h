#pragma once

#include <QString>
#include <QStringList>

namespace huddlex::help {

// File name of the help file the program opens: the help project and its pages, packed by
// the build into one Qt resource file.
inline constexpr char helpFileName[] = "Huddlex.rcc";

// The help file inside `folder`. A folder that already ends in a separator (a root
// such as "C:\" or "/") gets no second one; otherwise the folder's own separator style is
// kept, so "C:\Games\Tools" gives "C:\Games\Tools\Huddlex.rcc".
QString helpFilePath(const QString& folder);

// Where the program looks, in order: beside the executable, then the installed data folder.
QStringList helpFileCandidates();

// The first candidate that exists, else the first candidate (the help window then says
// that the file is missing).
QString locateHelpFile();

} // namespace huddlex::help

#pragma once

#include <QByteArrayView>

namespace huddlex {

// Whether a settings file in the INI form reads line by line as what it looks like: every
// line empty, a ";" comment, a "[section]" or a "key=value" with a key, and nothing that
// would make a value run on into the next line (an open quote, a backslash at the end) or
// that no editor leaves in a text file (control characters, bytes that are not UTF-8).
// Stricter than QSettings, which reads as much as it can of a broken file and reports it
// only once per process.
bool isWellFormedIni(QByteArrayView data);

} // namespace huddlex

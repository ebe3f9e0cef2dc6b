#include "fs/filesystem.h"

namespace huddlex::fs {

// Windows rules: `*` any run, `?` one character, case ignored; "*.*" matches every name,
// extension or not, and a pattern ending in "." matches names without an extension.
bool matchesWildcard(const QString& name, const QString& pattern) {
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*"))
        return true;
    QString pat = pattern;
    QString subject = name;
    if (pat.endsWith(QLatin1Char('.')) && !pat.endsWith(QLatin1String("*."))) {
        pat.chop(1);
    } else if (pat.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.'))) {
        // "FBplay.*" also matches "FBplay"
        pat.chop(2);
    }
    // Iterative glob match with backtracking on the last star.
    qsizetype p = 0, s = 0, star = -1, mark = 0;
    while (s < subject.size()) {
        if (p < pat.size() && (pat.at(p) == QLatin1Char('?') ||
                               pat.at(p).toCaseFolded() == subject.at(s).toCaseFolded())) {
            ++p;
            ++s;
        } else if (p < pat.size() && pat.at(p) == QLatin1Char('*')) {
            star = p++;
            mark = s;
        } else if (star >= 0) {
            p = star + 1;
            s = ++mark;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat.at(p) == QLatin1Char('*'))
        ++p;
    return p == pat.size();
}

} // namespace huddlex::fs

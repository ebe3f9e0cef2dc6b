#include "league/leaguehtml.h"

namespace huddlex::league::html {

QString text(const QString& plain) {
    return plain.toHtmlEscaped();
}

// System fonts only: the page fetches nothing and reads the same offline.
QString style() {
    return QStringLiteral(R"(
body { font: 14px/1.4 system-ui, "Segoe UI", "DejaVu Sans", sans-serif; color: #1d1d1f;
       margin: 1.5em auto; max-width: 72em; padding: 0 1em; }
h1 { font-size: 1.6em; margin: 0 0 .2em; }
h2 { font-size: 1.25em; margin: 1.6em 0 .4em; border-bottom: 2px solid #c9ced6; }
h3 { font-size: 1.05em; margin: 1em 0 .3em; }
code, .hex, .sha { font-family: "DejaVu Sans Mono", Consolas, monospace; font-size: .92em; }
table { border-collapse: collapse; margin: .3em 0 .8em; }
th, td { text-align: left; padding: .15em .6em; border-bottom: 1px solid #e3e6ea;
         vertical-align: top; }
th { background: #eef1f5; }
td.n, th.n { text-align: right; }
.bad { color: #b3261e; font-weight: 600; }
.ok { color: #1e6b34; }
tr.unknown td { background: #fde8e6; }
tr.unknown td.verdict { color: #b3261e; font-weight: 600; }
tr.flag td:first-child { border-left: 4px solid #b3261e; }
ul.gaps li, .error, ul.problems li { color: #b3261e; }
ul.gaps { margin: 0; padding-left: 1.1em; }
.error { border: 2px solid #b3261e; background: #fde8e6; padding: .4em .7em; }
ul.problems li { list-style: square; }
.hex td { white-space: pre; }
mark { background: #ffd54f; color: #000; font-weight: 700; }
.note, .where { color: #555; }
section.game { page-break-before: always; break-before: page; }
@media print {
  body { margin: 0; max-width: none; font-size: 10pt; }
  a { color: inherit; text-decoration: none; }
  tr, .hex { break-inside: avoid; }
  tr.unknown td { background: #fde8e6 !important; -webkit-print-color-adjust: exact;
                  print-color-adjust: exact; }
  mark { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
)");
}

} // namespace huddlex::league::html

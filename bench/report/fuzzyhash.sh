#!/usr/bin/env bash
# Side by side with the fuzzy-hash tools: on the modified plays of the report case (library
# plays with 1 to 100 bytes changed, shortened and changed, or extended), and apart from them on
# the plays with 1 to 64 bytes inserted and those with 1 to 64 bytes removed, how many does each
# tool trace to the play it was made from? ssdeep matches each play against the library's
# signatures (-m), TLSH compares each play's digest with the library's, Huddlex's report names
# the nearest play. A play counts as traced when the tool ranks its origin alone at the top.
# Usage: bench/report/fuzzyhash.sh   (installs ssdeep and tlsh-tools, builds the testing preset)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
"$root/scripts/setup.sh" --with-fuzzy-hash-tools testing
bin="$root/build/testing/bin"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$bin/bench_report" --write "$work"
game="$work/wine/drive_c/Sierra/FBPro97"

"$bin/huddlex-validate" --report json "$game" > "$work/report.json" || [[ $? -eq 1 ]]
awk -F'\t' '$2 ~ /^(changed|truncated-changed|extended|inserted|removed)$/' \
    "$work/made.tsv" > "$work/modified.tsv"
cut -f1 "$work/modified.tsv" | sed "s|^|$game/Xferbox/|" > "$work/modified.list"

(cd "$game" && ssdeep -s -r -l VPNFL) > "$work/library.ssdeep"
xargs -a "$work/modified.list" -d '\n' ssdeep -s -m "$work/library.ssdeep" > "$work/ssdeep.out" || true
(cd "$game" && tlsh -r VPNFL) > "$work/library.tlsh"
while read -r play; do
    tlsh -c "$play" -l "$work/library.tlsh" | sed "s|^|$(basename "$play")\t|"
done < "$work/modified.list" > "$work/tlsh.out"

python3 - "$work" <<'PY'
import collections, json, re, sys
work = sys.argv[1]
groups = {"changed": "modified", "truncated-changed": "modified", "extended": "modified",
          "inserted": "inserted", "removed": "removed"}
origin = collections.defaultdict(dict)  # group -> play -> its origin
for line in open(f"{work}/modified.tsv"):
    play, kind, source = line.rstrip("\n").split("\t")
    origin[groups[kind]][play] = source.replace("\\", "/")

def verdicts(plays, scores, higher_is_better):
    result = collections.Counter()
    for play, source in plays.items():
        ranked = scores.get(play, {})
        if not ranked:
            result["no match"] += 1
            continue
        best = (max if higher_is_better else min)(ranked.values())
        top = [name for name, score in ranked.items() if score == best]
        if top == [source]:
            result["traced"] += 1
        elif source in top:
            result["tied at the top"] += 1
        else:
            result["another play"] += 1
    return result

ssdeep = collections.defaultdict(dict)
for line in open(f"{work}/ssdeep.out"):
    m = re.match(r"^(.*) matches .*?:(.*) \((\d+)\)$", line.rstrip("\n"))
    if m:
        ssdeep[m.group(1).rsplit("/", 1)[-1]][m.group(2)] = int(m.group(3))
tlsh = collections.defaultdict(dict)
for line in open(f"{work}/tlsh.out"):
    fields = line.rstrip("\n").split("\t")
    if len(fields) == 4 and fields[3].strip().lstrip("-").isdigit():
        tlsh[fields[0]][fields[2]] = int(fields[3])
huddlex = collections.defaultdict(dict)
for play in json.load(open(f"{work}/report.json"))["plays"]:
    found = play.get("nearest") or play.get("match")  # a play cut short begins its origin
    if play["verdict"] in ("modified", "not-in-plans"):
        huddlex[play["file"]][found.replace("\\", "/")] = 0

columns = ["traced", "tied at the top", "another play", "no match"]
library = sum(1 for _ in open(f"{work}/library.tlsh"))
for group, title in [("modified", "modified plays (bytes changed, shortened and changed, extended)"),
                     ("inserted", "plays with 1 to 64 bytes inserted"),
                     ("removed", "plays with 1 to 64 bytes removed")]:
    print(f"\n{len(origin[group])} {title}, library of {library} plays")
    print("| tool | " + " | ".join(columns) + " |")
    print("|---|" + "---|" * len(columns))
    for name, scores, higher in [("ssdeep -m (score 0-100)", ssdeep, True),
                                 ("TLSH (distance)", tlsh, False),
                                 ("Huddlex report (nearest play)", huddlex, False)]:
        result = verdicts(origin[group], scores, higher)
        print(f"| {name} | " + " | ".join(str(result[c]) for c in columns) + " |")
PY

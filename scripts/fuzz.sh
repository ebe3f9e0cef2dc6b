#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target] [target...]   (default: 60, all four)
# Any crash, sanitizer report, broken property, timeout or memory blow-up fails the run; the
# input that caused it is kept in build/fuzz/findings/<target>/ (add it to
# fuzz/regressions/<target>/ once fixed). New corpus entries go to build/fuzz/corpus/<target>/.
set -euo pipefail
seconds="${1:-60}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(fuzz_planfields fuzz_playlogline fuzz_hostpath fuzz_ziparchive)
fi
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" fuzz
build="$root/build/fuzz"

failed=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    log="$build/$target.log"
    echo "== $target: ${seconds}s"
    status=0
    # The seeds are read, never written: new inputs go to the build folder's corpus.
    "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    runs=$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    found=$(find "$findings" -type f | wc -l)
    echo "   $runs executions, $found findings (exit status $status)"
    if ((status != 0 || found != 0)); then
        failed=1
        grep -E 'property failed|ERROR:|SUMMARY:' "$log" | head -n 5 || true
        echo "   log: $log"
    fi
done
exit "$failed"

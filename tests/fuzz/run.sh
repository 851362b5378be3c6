#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, starting from its committed
# corpus, and reports what it found.
#   tests/fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET]
# New inputs go to BUILD_DIR/corpus/TARGET; the committed corpus is never
# changed unless FUZZ_MERGE=1, which merges the new coverage into it
# (minimised). Findings are written to BUILD_DIR/findings/.
set -uo pipefail

build=${1:?usage: run.sh BUILD_DIR [SECONDS_PER_TARGET]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
targets=(numtext settings frame_text script poll_answer)
mkdir -p "$build/findings"

failed=()
for target in "${targets[@]}"; do
    binary="$build/fuzz_$target"
    [ -x "$binary" ] || { echo "run.sh: $binary is missing (build it first)" >&2; exit 1; }
    scratch="$build/corpus/$target"
    mkdir -p "$scratch"
    echo "== $target: ${seconds} s"
    if ! "$binary" "$scratch" "$here/corpus/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/findings/$target-" -print_final_stats=1 >"$build/findings/$target.log" 2>&1; then
        failed+=("$target")
        grep -E 'fuzz check failed|ERROR:|SUMMARY' "$build/findings/$target.log" | head -5
    fi
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/findings/$target.log" | tail -2
    if [ "${FUZZ_MERGE:-0}" = 1 ]; then
        "$binary" -merge=1 "$here/corpus/$target" "$scratch" >/dev/null 2>&1
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]} (inputs in $build/findings/; copy each into tests/fuzz/corpus/TARGET/ once fixed)"
    exit 1
fi
echo "No findings in ${#targets[@]} targets."

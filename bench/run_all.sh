#!/usr/bin/env bash
# Every measurement of `make bench`, then one summary table against the
# budgets.
#   bench/run_all.sh [BUILD_DIR] [DASHBOARD_SECONDS]
set -euo pipefail

build=${1:-build}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
results=$(mktemp)
trap 'rm -f "$results" "$results.csv"' EXIT

"$build/bench/kvrns_bench" --benchmark_format=csv 2>/dev/null | tee "$results.csv"
"$here/dashboard_load.sh" "$build/src/kvrns" "$seconds" | tee -a "$results"
"$here/startup_time.sh" "$build/src/kvrns" | tee -a "$results"
"$here/cli_time.sh" "$build/src/kvrns-cli" | tee -a "$results"

# name -> "time unit" from the benchmark's CSV (real time).
bench_time() {
    awk -F, -v n="\"$1\"" '$1 == n {
        t = $3; u = $5
        if (u == "us" && t >= 1000) { t /= 1000; u = "ms" }
        if (u == "us") u = "µs"
        printf "%.3g %s", t, u
    }' "$results.csv"
}
field() { sed -n "s/.*$1.*/\\1/p" "$results" | head -1; }

echo
echo "| what | figure | budget |"
echo "|---|---|---|"
echo "| decodeLinear, one reading | $(bench_time BM_decodeLinear) | |"
echo "| readout alone (derivation, texts, digits, colours) | $(bench_time BM_readout) | |"
echo "| sixteen-request sequence, simulated supply | $(bench_time BM_sixteenRequestSequence) | under 50 µs |"
echo "| one whole polling cycle | $(bench_time BM_pollingCycle) | under 100 µs |"
echo "| settings read plus atomic write | $(bench_time BM_settingsReadAndWrite) | |"
echo "| dashboard, average CPU over ${seconds} s | $(field 'average CPU \([0-9.]*\) %') % of one core | under 1 % |"
echo "| dashboard, peak resident memory | $(field 'peak resident memory \([0-9.]*\) MB') MB | under 80 MB |"
echo "| start-up to a mapped dashboard (median) | $(field 'median \([0-9]*\) ms') ms | under 500 ms |"
echo "| kvrns-cli status --device sim, one reading | $(field 'sim: \([0-9.]*\) ms') ms | under 100 ms |"
echo "| machine | $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p' | head -1) | |"

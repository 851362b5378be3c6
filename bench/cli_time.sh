#!/usr/bin/env bash
# Wall time of one reading with the command-line tool on the simulated
# supply, process start to exit, the mean of RUNS runs.
#   bench/cli_time.sh [KVRNS_CLI_BINARY] [RUNS]
set -euo pipefail

binary=${1:-build/src/kvrns-cli}
runs=${2:-50}
[ -x "$binary" ] || { echo "cli_time: no program at $binary (run make first)" >&2; exit 1; }
source "$(dirname "$0")/xvfb.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
seed_settings "$scratch"

XDG_CONFIG_HOME="$scratch" "$binary" status --device sim >/dev/null  # warm the caches
start=$(date +%s%N)
for _ in $(seq "$runs"); do
    XDG_CONFIG_HOME="$scratch" "$binary" status --device sim >/dev/null
done
elapsed=$(($(date +%s%N) - start))
awk -v ns="$elapsed" -v n="$runs" 'BEGIN {
    printf "kvrns-cli status --device sim: %.1f ms a run, mean of %d runs\n", ns / n / 1e6, n
}'

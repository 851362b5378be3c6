#!/usr/bin/env bash
# The dashboard's own cost: runs it on the simulated supply under Xvfb and
# reports its average CPU use and peak resident memory.
#   bench/dashboard_load.sh [KVRNS_BINARY] [SECONDS]
set -euo pipefail

binary=${1:-build/src/kvrns}
seconds=${2:-60}
[ -x "$binary" ] || { echo "dashboard_load: no program at $binary (run make first)" >&2; exit 1; }
source "$(dirname "$0")/xvfb.sh"

make_scratch
start_xvfb
seed_settings "$scratch"

env DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$scratch" TMPDIR="$scratch" \
    "$binary" --device sim >/dev/null 2>&1 &
app=$!

cpu_ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
sleep 3  # start-up is not part of the steady state
before=$(cpu_ticks)
sleep "$seconds"
after=$(cpu_ticks)
peak_kb=$(awk '/VmHWM/ {print $2}' "/proc/$app/status")
hz=$(getconf CLK_TCK)

awk -v t="$((after - before))" -v hz="$hz" -v s="$seconds" -v kb="$peak_kb" 'BEGIN {
    printf "dashboard, simulated supply, %d s: average CPU %.2f %% of one core, peak resident memory %.1f MB\n",
           s, 100 * t / hz / s, kb / 1024
}'

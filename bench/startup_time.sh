#!/usr/bin/env bash
# Start-up time: from starting the dashboard on the simulated supply to its
# window being mapped on a virtual X server, the median of RUNS starts.
#   bench/startup_time.sh [KVRNS_BINARY] [RUNS]
set -euo pipefail

binary=${1:-build/src/kvrns}
runs=${2:-7}
[ -x "$binary" ] || { echo "startup_time: no program at $binary (run make first)" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "startup_time: xdotool is not installed (apt-get install xdotool)" >&2; exit 1; }
source "$(dirname "$0")/xvfb.sh"

make_scratch
start_xvfb

times=()
for run in $(seq "$runs"); do
    home="$scratch/$run"
    seed_settings "$home"
    start=$(date +%s%N)
    env DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$home" TMPDIR="$home" \
        "$binary" --device sim >/dev/null 2>&1 &
    app=$!
    until DISPLAY="$display" xdotool search --onlyvisible --name 'simulated supply' >/dev/null 2>&1; do
        kill -0 "$app" 2>/dev/null || { echo "startup_time: the dashboard ended before showing" >&2; exit 1; }
        sleep 0.002
    done
    times+=($((($(date +%s%N) - start) / 1000000)))
    kill "$app" && wait "$app" 2>/dev/null || true
    app=""
done

median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}')
echo "dashboard start-up to a mapped window: median $median ms of $runs starts (${times[*]} ms)"

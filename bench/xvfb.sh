# Sourced by the dashboard's measurements: a virtual X server on a free
# display number, and a settings file that skips the intro notice.

# Starts Xvfb; sets `display` and `xvfb` (its process id).
start_xvfb() {
    command -v Xvfb >/dev/null || { echo "$0: Xvfb is not installed (apt-get install xvfb)" >&2; return 1; }
    display=""
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
    done
    [ -n "$display" ] || { echo "$0: no free X display number" >&2; return 1; }
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && return 0; sleep 0.05; done
    echo "$0: Xvfb did not start" >&2
    return 1
}

# The per-user settings under CONFIG_HOME, with the intro notice switched off
# so the dashboard is the first window.
seed_settings() {
    mkdir -p "$1/kvrns"
    printf '1;22;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;1;0;0\r\n' \
        >"$1/kvrns/TALVORN.txt"
}

# A scratch folder for the run; on exit the program under test (`app`), the
# X server and the folder go.
make_scratch() {
    scratch=$(mktemp -d)
    trap 'cleanup_run' EXIT
}
cleanup_run() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}

# Shared by the end-to-end tests: a private Xvfb display, the real program copied into a folder
# of its own (where it writes its settings and history), and xdotool helpers that fail loudly.
# Sourced by the test scripts; they call e2e_start and then drive the program.
set -euo pipefail

E2E_SKIP=77
e2e_log() { echo "[e2e $(date +%T)] $*"; }
e2e_fail() { echo "FAIL: $*" >&2; exit 1; }

e2e_require_tools() {
    local tool
    for tool in Xvfb xdotool; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
            exit $E2E_SKIP
        fi
    done
}

# e2e_start PROGRAM: sets E2E_DIR (work folder), E2E_OWN (the program's own folder), DISPLAY.
e2e_start() {
    e2e_require_tools
    E2E_DIR=$(mktemp -d /tmp/zav-e2e.XXXXXX)
    E2E_OWN="$E2E_DIR/program"
    mkdir -p "$E2E_OWN"
    cp "$1" "$E2E_OWN/zavmap"
    E2E_PIDS=()
    trap e2e_cleanup EXIT
    exec 9<> <(:)
    local fifo="$E2E_DIR/display"
    mkfifo "$fifo"
    Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$fifo" >"$E2E_DIR/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    local number
    read -r -t 10 number <"$fifo" || e2e_fail "Xvfb did not start: $(cat "$E2E_DIR/xvfb.log")"
    export DISPLAY=":$number"
    export QT_QPA_PLATFORM=xcb
    unset QT_IM_MODULE XMODIFIERS
    e2e_log "Xvfb on $DISPLAY, work folder $E2E_DIR"
}

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$E2E_DIR"
}

# e2e_run_program ARGS...: starts the copied program; sets E2E_APP.
e2e_run_program() {
    "$E2E_OWN/zavmap" "$@" >"$E2E_DIR/zavmap.log" 2>&1 &
    E2E_APP=$!
    E2E_PIDS+=($E2E_APP)
}

# e2e_window TITLE: waits for a window whose title is exactly TITLE and prints its id.
e2e_window() {
    local id
    id=$(timeout 15 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) ||
        e2e_fail "no window titled '$1' appeared; program log: $(cat "$E2E_DIR/zavmap.log")"
    [ -n "$id" ] || e2e_fail "no window titled '$1'"
    echo "$id"
}

# e2e_focus TITLE: waits for the window and gives it the keyboard focus; prints its id.
e2e_focus() {
    local id
    id=$(e2e_window "$1")
    xdotool windowfocus --sync "$id"
    sleep 0.2
    echo "$id"
}

# e2e_keys KEY...: presses keys in the focused window.
e2e_keys() { xdotool key --delay 80 "$@"; sleep 0.2; }

# e2e_type TEXT: types text (ASCII or Japanese) into the focused window.
e2e_type() { xdotool type "$1"; sleep 0.2; }

# e2e_wait_gone TITLE: waits until no visible window has that title.
e2e_wait_gone() {
    local i
    for i in $(seq 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    e2e_fail "window '$1' did not close"
}

# e2e_wait_exit: waits for the program to end by itself.
e2e_wait_exit() {
    local i
    for i in $(seq 50); do
        kill -0 "$E2E_APP" 2>/dev/null || { wait "$E2E_APP"; return; }
        sleep 0.2
    done
    e2e_fail "the program did not end"
}

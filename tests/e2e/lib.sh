# Shared by the end-to-end tests: a private Xvfb display, the real program copied into a folder
# of its own (where it writes its settings and history), and xdotool helpers that fail loudly.
# Sourced by the test scripts; they call e2e_start and then drive the program.
#
# Nothing here depends on the machine being idle: every step waits for a condition (a window,
# a text read back, a process ending), and time limits are only fuses against hangs. Text is
# never trusted to arrive: it is read back from the box it went into, and entered again when a
# busy machine lost part of it.
set -euo pipefail

E2E_SKIP=77
E2E_FUSE=60 # seconds; far above what any step takes on an idle machine
e2e_log() { echo "[e2e $(date +%T)] $*"; }
e2e_fail() { echo "FAIL: $*" >&2; exit 1; }

# e2e_until SECONDS COMMAND...: runs COMMAND until it succeeds; fails after SECONDS.
e2e_until() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
}

e2e_require_tools() {
    local tool
    for tool in Xvfb xdotool xsel; do
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
    id=$(timeout "$E2E_FUSE" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null |
        head -n 1) ||
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

# The X clipboard, owned by an xsel process of ours until the program takes it over.
E2E_CLIP_PID=
e2e_clipboard_is() { [ "$(xsel --clipboard --output 2>/dev/null)" = "$1" ]; }
e2e_clipboard_set() {
    [ -z "$E2E_CLIP_PID" ] || kill "$E2E_CLIP_PID" 2>/dev/null || true
    printf '%s' "$1" | xsel --clipboard --input --nodetach &
    E2E_CLIP_PID=$!
    E2E_PIDS+=($E2E_CLIP_PID)
    e2e_until "$E2E_FUSE" e2e_clipboard_is "$1" || e2e_fail "the clipboard did not take '$1'"
}
e2e_clipboard_taken() { ! kill -0 "$E2E_CLIP_PID" 2>/dev/null; }

# e2e_box_text: the text of the focused entry box, copied from it through the clipboard (our
# xsel ends once the program owns the clipboard, so the copy is known to have happened).
# Fails (status 1) when nothing was copied, as from an empty box.
e2e_box_text() {
    xdotool key --clearmodifiers ctrl+a ctrl+c
    e2e_until 10 e2e_clipboard_taken || return 1
    xsel --clipboard --output
}

# e2e_enter TEXT: replaces the text of the focused entry box with TEXT and reads it back, again
# until it arrived whole. ASCII is typed; anything else (which a busy machine's xdotool can
# drop) is pasted from the clipboard.
e2e_enter() {
    local text=$1 attempt got
    for attempt in 1 2 3 4 5; do
        xdotool key --clearmodifiers ctrl+a
        if LC_ALL=C grep -q '^[ -~]*$' <<<"$text"; then
            e2e_clipboard_set "e2e-read-back"
            xdotool type --delay 30 -- "$text"
        else
            e2e_clipboard_set "$text"
            xdotool key --clearmodifiers ctrl+v
        fi
        got=$(e2e_box_text) || got="(nothing)"
        [ "$got" = "$text" ] && return 0
        e2e_log "attempt $attempt entered '$got' instead of '$text'"
    done
    e2e_fail "could not enter '$text'"
}

# e2e_wait_gone TITLE: waits until no visible window has that title.
e2e_window_gone() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
e2e_wait_gone() {
    e2e_until "$E2E_FUSE" e2e_window_gone "$1" || e2e_fail "window '$1' did not close"
}

# e2e_wait_exit: waits for the program to end by itself.
e2e_app_ended() { ! kill -0 "$E2E_APP" 2>/dev/null; }
e2e_wait_exit() {
    e2e_until "$E2E_FUSE" e2e_app_ended || e2e_fail "the program did not end"
    wait "$E2E_APP"
}

# e2e_ascii_quiz: copies the small ASCII quiz of tests/e2e/data (three points on a 200 x 150
# map) into the work folder and starts the program on it; sets E2E_QUIZ to its path.
e2e_ascii_quiz() {
    local data
    data="$(cd "$(dirname "${BASH_SOURCE[0]}")/data" && pwd)"
    mkdir -p "$E2E_DIR/quiz"
    cp "$data/ascii.zvm" "$data/map.bmp" "$E2E_DIR/quiz/"
    E2E_QUIZ="$E2E_DIR/quiz/ascii.zvm"
    e2e_run_program "$E2E_QUIZ"
}

# e2e_start_quiz KEY...: in the main window, the keys (a mode or method chosen, then Ctrl+S),
# and "Good Luck!" closed.
e2e_start_quiz() {
    e2e_focus "ZAV地図覚え" >/dev/null
    e2e_keys "$@"
    e2e_focus "Go!" >/dev/null
    e2e_keys Return
}

# e2e_answer_typed ANSWER...: each answer entered, judged and its verdict closed.
e2e_answer_typed() {
    local answer
    for answer in "$@"; do
        e2e_focus "解答欄" >/dev/null
        e2e_enter "$answer"
        e2e_keys Return Return
    done
}

# e2e_close_end_box: the quiz's end box closed, and the answer window gone with it.
e2e_close_end_box() {
    e2e_focus "終了" >/dev/null
    e2e_keys Return
    e2e_wait_gone "終了"
    e2e_wait_gone "解答欄"
}

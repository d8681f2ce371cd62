#!/usr/bin/env bash
# Installs what the program needs, builds the program alone (./test.sh builds the rest in the
# same build folder), and opens the bundled prefecture quiz in it.
# Run through sudo, it builds as root and starts the program as the desktop user who called it:
# the Japanese input method (mozc) refuses to work for root.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
scripts/build.sh zavmap

program="$PWD/build/bin/zavmap"
sample="$PWD/samples/日本/都道府県/都道府県.zvm"
args=()
if [ -f "$sample" ]; then args=("$sample"); fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: built build/bin/zavmap, but there is no display to show it on (DISPLAY is not set)."
    echo "run.sh: start it from a desktop session: build/bin/zavmap samples/日本/都道府県/都道府県.zvm"
    exit 1
fi

as_root_note() {
    echo "run.sh: the program runs as root, where Japanese input (mozc) does not work."
    echo "run.sh: to type Japanese, start it as your desktop user instead: $*"
}

# Starts the program as USER in that user's desktop session, with the session's input method.
start_as() {
    local user=$1 uid home runtime
    uid=$(id -u "$user")
    home=$(getent passwd "$user" | cut -d: -f6)
    local environment=(PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" USER="$user" LOGNAME="$user"
        LANG="${LANG:-C.UTF-8}")
    local name
    for name in DISPLAY WAYLAND_DISPLAY XAUTHORITY QT_IM_MODULE XMODIFIERS QT_QPA_PLATFORM; do
        if [ -n "${!name:-}" ]; then environment+=("$name=${!name}"); fi
    done
    # The input method talks to the program over the session's message bus.
    runtime="/run/user/$uid"
    if [ -d "$runtime" ]; then
        environment+=(XDG_RUNTIME_DIR="$runtime")
        if [ -S "$runtime/bus" ]; then environment+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"); fi
    fi
    # sudo drops the session's QT_IM_MODULE; fcitx5 running for the user tells what it was.
    if [ -z "${QT_IM_MODULE:-}" ] && command -v pgrep >/dev/null && pgrep -u "$uid" -x fcitx5 >/dev/null; then
        environment+=(QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx)
    fi
    echo "run.sh: starting the program as $user"
    exec runuser -u "$user" -- env -i "${environment[@]}" "$program" "${args[@]}"
}

if [ "$(id -u)" -eq 0 ]; then
    user=${SUDO_USER:-}
    if [ -n "$user" ] && [ "$user" != root ]; then
        if runuser -u "$user" -- test -x "$program" -a -r "${args[0]:-$program}"; then
            start_as "$user"
        fi
        echo "run.sh: $user cannot open $program: the checkout lies in a folder only root can read."
        echo "run.sh: put the checkout where $user can read it (clone it into your home folder) and run sudo ./run.sh there."
    fi
    as_root_note "${program#"$PWD/"} ${args[*]#"$PWD/"}"
fi
exec "$program" "${args[@]}"

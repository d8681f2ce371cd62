#!/usr/bin/env bash
# Measures the README's two commands as a newcomer meets them on a fresh machine. Each runs in a
# fresh Debian 12 root (debootstrap minbase under build/fresh-root, entered with chroot) holding
# a copy of this checkout in /root/zavmap, as root:
#   run   ./run.sh, from its start until the program's first window is shown (on an Xvfb display
#         of this machine, reached over TCP);
#   test  ./test.sh, from its start to its end.
# The figures are printed and appended to build/fresh-root/timing.txt; each command's output is
# kept in build/fresh-root/<command>.log. The machine should be otherwise idle for figures worth
# quoting.
# Usage (as root, with access to the Debian mirror): scripts/fresh-root-timing.sh [run|test|both]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fresh-root-lib.sh
what=${1:-both}
case $what in run | test | both) ;; *) fresh_fail "usage: $0 [run|test|both]" ;; esac
[ "$(id -u)" -eq 0 ] || fresh_fail "run as root (debootstrap and chroot need it)"
scripts/install-deps.sh packaging

top="$PWD/build/fresh-root"
base="$top/base"
root="$top/root"
cookie="$top/xauth"
mkdir -p "$top"
cleanup() {
    fresh_root_cleanup
    fresh_root_remove "$root"
    fresh_root_remove "$base"
    rm -f "$cookie" "$cookie.log"
}
trap cleanup EXIT

# One debootstrap; each command gets its own copy of it.
fresh_root_make "$base"
for mount in "${FRESH_MOUNTS[@]}"; do umount "$mount"; done
FRESH_MOUNTS=()

# fresh_copy: a new root from the base, with the checkout (its tracked and new files, as a clone
# would have them plus uncommitted work) in /root/zavmap.
fresh_copy() {
    fresh_root_remove "$root"
    cp -a "$base" "$root"
    mkdir -p "$root/root/zavmap"
    git ls-files -z --cached --others --exclude-standard |
        tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$root/root/zavmap"
    fresh_root_enter "$root"
    mount -t tmpfs shm "$root/dev/shm"
    FRESH_MOUNTS+=("$root/dev/shm")
}
in_root() {
    chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 TERM=dumb "$@"
}
record() {
    echo "$(date -u +%FT%TZ) $1" | tee -a "$top/timing.txt"
}

if [ "$what" != test ]; then
    fresh_copy
    fresh_display "$cookie"
    cp "$cookie" "$root/root/.Xauthority"
    started=$(date +%s)
    in_root env DISPLAY="127.0.0.1:$FRESH_DISPLAY" bash -c 'cd /root/zavmap && ./run.sh' \
        >"$top/run.log" 2>&1 &
    run=$!
    export DISPLAY=":$FRESH_DISPLAY" XAUTHORITY="$cookie"
    # A fuse far above any first run; the window is the end of the measurement.
    window=$(timeout 3600 xdotool search --sync --onlyvisible --name '^ZAV地図覚え$' | head -n 1) || true
    shown=$(date +%s)
    [ -n "$window" ] || fresh_fail "run.sh showed no window; see $top/run.log"
    record "run.sh: first window after $((shown - started)) s"
    xdotool windowfocus --sync "$window"
    xdotool key --delay 100 alt+f x
    wait "$run" || fresh_fail "run.sh ended with a failure; see $top/run.log"
    fresh_root_cleanup
    FRESH_MOUNTS=()
    FRESH_XVFB=
fi

if [ "$what" != run ]; then
    fresh_copy
    started=$(date +%s)
    status=0
    in_root bash -c 'cd /root/zavmap && ./test.sh' >"$top/test.log" 2>&1 || status=$?
    ended=$(date +%s)
    summary=$(grep '^summary:' "$top/test.log" | tail -n 1)
    record "test.sh: $((ended - started)) s, exit status $status, ${summary:-no summary line}"
    fresh_root_cleanup
    FRESH_MOUNTS=()
fi

# Shared by check-package.sh and fresh-root-timing.sh: a fresh Debian 12 root made with
# debootstrap (minbase) from the mirror this machine's apt uses, entered with chroot, and an X
# display of this machine that programs inside the root reach over TCP with a cookie.
# Sourced; needs root. Call fresh_root_cleanup from an EXIT trap.

FRESH_MOUNTS=()
FRESH_XVFB=
fresh_log() { echo "[$(basename "$0") $(date +%T)] $*"; }
fresh_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The Debian mirror of this machine's apt sources (the first one that serves bookworm and is not
# the security archive); ZAV_MIRROR overrides it.
fresh_mirror() {
    if [ -n "${ZAV_MIRROR:-}" ]; then
        echo "$ZAV_MIRROR"
        return
    fi
    local found
    found=$({
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk -v RS= '
            /(^|\n)Suites:[^\n]*[[:space:]]bookworm([[:space:]]|$)/ {
                if (match($0, /URIs:[[:space:]]*[^[:space:]]+/)) {
                    uri = substr($0, RSTART, RLENGTH); sub(/URIs:[[:space:]]*/, "", uri); print uri
                }
            }'
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed -n -E 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+)[[:space:]]+bookworm[[:space:]].*/\2/p'
    } | grep -v -e security | head -n 1)
    echo "${found:-http://deb.debian.org/debian}"
}

# fresh_root_make DIR: a fresh minbase bookworm root in DIR, with /proc mounted and name
# resolution copied in. Replaces whatever DIR held.
fresh_root_make() {
    local dir=$1 mirror
    fresh_root_remove "$dir"
    mirror=$(fresh_mirror)
    fresh_log "debootstrap --variant=minbase bookworm $dir $mirror"
    debootstrap --variant=minbase bookworm "$dir" "$mirror" >"$dir.debootstrap.log" 2>&1 ||
        fresh_fail "debootstrap failed; see $dir.debootstrap.log"
    fresh_root_enter "$dir"
}

# fresh_root_enter DIR: mounts /proc in the root and copies name resolution in.
fresh_root_enter() {
    local dir=$1
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
    mount -t proc proc "$dir/proc"
    FRESH_MOUNTS+=("$dir/proc")
}

# fresh_root_remove DIR: unmounts what was mounted inside DIR and deletes it.
fresh_root_remove() {
    local dir=$1 mount
    [ -e "$dir" ] || return 0
    for mount in proc dev/pts dev/shm; do
        if mountpoint -q "$dir/$mount"; then umount -l "$dir/$mount"; fi
    done
    rm -rf --one-file-system "$dir" "$dir.debootstrap.log"
}

# fresh_display COOKIE_FILE: starts Xvfb on a free display that listens on TCP and admits only
# holders of the cookie written to COOKIE_FILE; sets FRESH_DISPLAY (a number).
fresh_display() {
    local cookie=$1 number key tries
    for number in $(seq 20 60); do
        if [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; then continue; fi
        rm -f "$cookie"
        : >"$cookie"
        key=$(mcookie)
        xauth -q -f "$cookie" add ":$number" MIT-MAGIC-COOKIE-1 "$key"
        xauth -q -f "$cookie" add "$(uname -n)/unix:$number" MIT-MAGIC-COOKIE-1 "$key"
        chmod 644 "$cookie"
        Xvfb ":$number" -listen tcp -auth "$cookie" -screen 0 1280x1024x24 >"$cookie.log" 2>&1 &
        FRESH_XVFB=$!
        for tries in $(seq 300); do
            if DISPLAY=":$number" XAUTHORITY="$cookie" xdotool getdisplaygeometry >/dev/null 2>&1; then
                FRESH_DISPLAY=$number
                return 0
            fi
            kill -0 "$FRESH_XVFB" 2>/dev/null || break
            sleep 0.1
        done
        # Taken by a server we cannot see (its port in use): try the next number.
        kill "$FRESH_XVFB" 2>/dev/null || true
        FRESH_XVFB=
    done
    fresh_fail "Xvfb did not start: $(cat "$cookie.log")"
}

fresh_root_cleanup() {
    local mount
    if [ -n "$FRESH_XVFB" ]; then kill "$FRESH_XVFB" 2>/dev/null || true; fi
    for mount in "${FRESH_MOUNTS[@]}"; do
        if mountpoint -q "$mount"; then umount -l "$mount" || true; fi
    done
}

#!/usr/bin/env bash
# Builds the Debian package and proves it as a user meets it:
#  1. its files are the expected ones, the desktop entry and the AppStream metadata validate,
#     and lintian finds no errors (its warnings are listed);
#  2. in a fresh Debian 12 root (debootstrap minbase under build/, entered with chroot),
#     `apt-get install ./zavmap_*.deb` installs it with its dependencies; as an unprivileged user
#     `zavmap` starts on this machine's Xvfb, opens the bundled sample from /usr/share/zavmap,
#     finds its help file there, and on exit writes its settings and history into the user's
#     ~/.config/zavmap/ and nothing into the installed program's folder.
# Usage (as root, with access to the Debian mirror): scripts/check-package.sh [--keep]
#   --keep leaves the root in build/package-root for a look around.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fresh-root-lib.sh
keep=false
if [ "${1:-}" = --keep ]; then keep=true; fi
[ "$(id -u)" -eq 0 ] || fresh_fail "run as root (debootstrap and chroot need it)"
started=$SECONDS
stage_started=$SECONDS
stage() {
    fresh_log "$1 took $((SECONDS - stage_started)) s"
    stage_started=$SECONDS
}

scripts/install-deps.sh packaging
scripts/build.sh zavmap
rm -f build/zavmap_*_amd64.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(echo build/zavmap_*_amd64.deb)
[ -f "$deb" ] || fresh_fail "cpack made no package"
stage "building the package ($deb)"

bash tests/packaging/deb_contents.sh "$PWD" --deb "$deb"
lintian_status=0
lintian_out=$(lintian "$deb" 2>&1) || lintian_status=$?
lintian_out=$(grep -v 'running with root privileges' <<<"$lintian_out" || true)
((lintian_status == 0)) || fresh_fail "lintian found errors:
$lintian_out"
fresh_log "lintian: ${lintian_out:-no errors or warnings}"
stage "checking the package"

root="$PWD/build/package-root"
cookie="$PWD/build/package-root.xauth"
cleanup() {
    fresh_root_cleanup
    rm -f "$cookie" "$cookie.log"
    if ! $keep; then fresh_root_remove "$root"; fi
}
trap cleanup EXIT
fresh_root_make "$root"
stage "making a fresh Debian 12 root"

cp "$deb" "$root/tmp/"
chmod 644 "$root/tmp/$(basename "$deb")"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
in_root apt-get update -q >/dev/null
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" \
    >"$root.apt.log" 2>&1 || fresh_fail "apt-get install failed: $(tail -n 30 "$root.apt.log")"
fresh_log "installed: $(grep -c '^Setting up' "$root.apt.log") packages"
rm -f "$root.apt.log"
missing=$(in_root sh -c 'ldd /usr/lib/zavmap/zavmap /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so' |
    grep 'not found' || true)
[ -z "$missing" ] || fresh_fail "libraries missing after the install: $missing"
stage "apt-get install ./$(basename "$deb")"

# The learner: an ordinary user with a home of its own.
in_root useradd --create-home --shell /bin/bash learner
runtime=/run/user/$(in_root id -u learner)
in_root install -d -m 700 -o learner -g learner "$runtime"
fresh_display "$cookie"
home="$root/home/learner"
cp "$cookie" "$home/.Xauthority"
in_root chown learner:learner /home/learner/.Xauthority
sample=/usr/share/zavmap/samples/日本/都道府県/都道府県.zvm
in_root runuser -u learner -- env -i HOME=/home/learner USER=learner LANG=C.UTF-8 \
    PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" DISPLAY="127.0.0.1:$FRESH_DISPLAY" zavmap "$sample" \
    >"$root.zavmap.log" 2>&1 &
app=$!

export DISPLAY=":$FRESH_DISPLAY" XAUTHORITY="$cookie"
window() {
    timeout 120 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}
main=$(window "ZAV地図覚え") || true
[ -n "$main" ] || fresh_fail "the program showed no window: $(cat "$root.zavmap.log")"
fresh_log "zavmap shows its window as learner"
# The help file is found in /usr/share/zavmap: the help window opens, not the "not found" box.
xdotool windowfocus --sync "$main"
xdotool key --delay 100 alt+h h
help=$(window "ﾍﾙﾌﾟ - ZAV地図覚えヘルプ") || true
[ -n "$help" ] || fresh_fail "the help window did not open (is the help file found?)"
fresh_log "the help window shows the installed help file"
xdotool windowfocus --sync "$main"
xdotool key --delay 100 alt+f x
for _ in $(seq 600); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then fresh_fail "the program did not end from ﾌｧｲﾙ → 終了"; fi
wait "$app" || fresh_fail "the program ended with a failure: $(cat "$root.zavmap.log")"

config="$home/.config/zavmap"
[ "$(cat "$config/設定.zav" 2>/dev/null)" = $'"True"\r' ] ||
    fresh_fail "no settings file in ~/.config/zavmap (holds: $(ls -A "$config" 2>&1)); program said: $(cat "$root.zavmap.log")"
first=$(head -n 1 "$config/履歴.zav" | iconv -f CP932 -t UTF-8 | tr -d '\r')
[ "$first" = "\"$sample\"" ] || fresh_fail "the history starts with $first, not the sample"
[ "$(ls -A "$root/usr/lib/zavmap")" = zavmap ] ||
    fresh_fail "files were written beside the installed program: $(ls -A "$root/usr/lib/zavmap")"
rm -f "$root.zavmap.log"
fresh_log "settings and history written to ~/.config/zavmap; the sample was opened"
stage "running zavmap as an unprivileged user"
fresh_log "package proven in $((SECONDS - started)) s"

#!/usr/bin/env bash
# Installs from Debian 12's packages what a task needs:
#   scripts/install-deps.sh            building, running and testing (the test command)
#   scripts/install-deps.sh run        building and running the program (the first command)
#   scripts/install-deps.sh packaging  the above, and proving the Debian package in a fresh root
# Idempotent: apt-get runs only when something is missing.
set -euo pipefail

run=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libqt6sql6-sqlite
    # the charts of 学習の記録; their CMake files want Qt OpenGL's, which they do not pull in
    qt6-charts-dev libqt6opengl6-dev
    qt6-translations-l10n
    libbenchmark-dev
    libcsv-dev
    fonts-ipafont-gothic
)
test=(
    poppler-utils
    xvfb xdotool xsel xauth
    # the end-to-end tests read what a quiz recorded straight from the study record
    sqlite3
    clang libclang-rt-14-dev
    dpkg-dev file desktop-file-utils appstream
)
packaging=(debootstrap lintian)

case "${1:-test}" in
run) packages=("${run[@]}") ;;
test) packages=("${run[@]}" "${test[@]}") ;;
packaging) packages=("${run[@]}" "${test[@]}" "${packaging[@]}") ;;
*)
    echo "usage: $0 [run|test|packaging]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

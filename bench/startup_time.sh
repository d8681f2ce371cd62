#!/usr/bin/env bash
# Start-up time: from process start to the main window shown, for zavmap without a question
# file, for zavmap with a 32,767-point file on the command line, and for a minimal Qt program
# that shows one QMainWindow, all in the same run on the same machine. Prints the medians and
# the figures that matter: zavmap / minimal (no file), and what the big file adds. For context
# it also times the minimal window with one Japanese menu and status text, since a bare
# QMainWindow never starts the font system before it is shown.
#
# usage: bench/startup_time.sh [build-folder] [runs]      (default: build, 21 runs)
#        ZAV_BENCH_XVFB=1 bench/startup_time.sh ...       (under xvfb-run instead of offscreen)
#
# The probe plugin (bench/show_probe.cpp) is loaded through QT_QPA_GENERIC_PLUGINS; it prints
# the time when the first window is exposed and ends the process, so the programs run as built.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-21}
export LC_ALL=C.UTF-8

if [[ ${ZAV_BENCH_XVFB:-0} == 1 && -z ${ZAV_BENCH_IN_XVFB:-} ]]; then
    command -v xvfb-run >/dev/null || { echo "xvfb-run not found" >&2; exit 1; }
    exec env ZAV_BENCH_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$runs"
fi
if [[ -n ${ZAV_BENCH_IN_XVFB:-} ]]; then
    export QT_QPA_PLATFORM=xcb
    platform="xcb under Xvfb"
else
    export QT_QPA_PLATFORM=offscreen
    platform=offscreen
fi

zavmap=$build/bin/zavmap
minimal=$build/bench/minimal_window
plugins=$build/bench/plugins
for f in "$zavmap" "$minimal" "$plugins/generic/libzavshowprobe.so"; do
    [[ -e $f ]] || { echo "missing $f: build zavmap, minimal_window and zavshowprobe" >&2; exit 1; }
done

# zavmap reads its settings and history beside itself: give it a folder of its own with none,
# so no dialog comes before the main window.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/app" "$work/maps"
cp "$zavmap" "$work/app/"
cp "$build"/bin/*.hlp "$work/app/" 2>/dev/null || true

# A 32,767-point question file with a 1024 x 768 map beside it.
python3 - "$work/maps" <<'PY'
import struct, sys
folder = sys.argv[1]
w, h = 1024, 768
row = (w * 3 + 3) & ~3
pixels = bytes([40, 120, 60]) * w + bytes(row - w * 3)
with open(folder + "/map.bmp", "wb") as f:
    f.write(b"BM" + struct.pack("<IHHI", 54 + row * h, 0, 0, 54))
    f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, row * h, 2835, 2835, 0, 0))
    f.write(pixels * h)
def record(*fields):
    return (",".join('"' + x + '"' for x in fields) + "\r\n").encode("cp932")
with open(folder + "/big.zvm", "wb") as f:
    f.write(record("Map", "./map.bmp"))
    for i in range(32767):
        f.write(record("Point", str(i % w), str(i % h), "ヒント%d" % i, "答え%d" % i, "",
                       "情報 %d" % i))
    f.write(record("End"))
PY

export QT_PLUGIN_PATH=$plugins QT_QPA_GENERIC_PLUGINS=zavshowprobe

# One start: prints the milliseconds from just before exec to the first window shown.
one() {
    local out
    out=$(ZAV_BENCH_T0=$EPOCHREALTIME timeout 60 "$@" 2>/dev/null) || true
    [[ $out == shown_ms=* ]] || { echo "no window from: $*" >&2; exit 1; }
    echo "${out#shown_ms=}"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

min_times=() txt_times=() zav_times=() big_times=()
for ((i = 0; i < runs + 2; i++)); do
    # Interleaved, so a busy moment on the machine hits all alike; two warm-up rounds.
    m=$(one "$minimal")
    t=$(one "$minimal" text)
    z=$(one "$work/app/zavmap")
    b=$(one "$work/app/zavmap" "$work/maps/big.zvm")
    if ((i >= 2)); then
        min_times+=("$m") txt_times+=("$t") zav_times+=("$z") big_times+=("$b")
    fi
done

m=$(printf '%s\n' "${min_times[@]}" | median)
t=$(printf '%s\n' "${txt_times[@]}" | median)
z=$(printf '%s\n' "${zav_times[@]}" | median)
b=$(printf '%s\n' "${big_times[@]}" | median)
echo "platform: $platform, $runs runs each, medians (process start to window shown)"
printf 'minimal QMainWindow program       %8.1f ms\n' "$m"
printf 'minimal, with a menu and text     %8.1f ms\n' "$t"
printf 'zavmap, no question file          %8.1f ms\n' "$z"
printf 'zavmap, 32,767-point file         %8.1f ms\n' "$b"
awk -v m="$m" -v t="$t" -v z="$z" -v b="$b" 'BEGIN {
    printf "ratio zavmap / minimal            %8.2f   (limit 1.50)\n", z / m
    printf "ratio zavmap / minimal with text  %8.2f\n", z / t
    printf "added by the 32,767-point file    %8.1f ms (limit 300)\n", b - z
}'

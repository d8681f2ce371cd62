#!/bin/sh
# Rebuilds the sample quizzes into a scratch folder from the npm data already installed by
# rebuild.sh and compares them with samples/ byte for byte. Never installs anything: without
# the data (or node) it reports SKIP, exit code 77.
#
#   check-reproducible.sh ZAV_SAMPLEGEN
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
scratch=${SCRATCH:-/tmp/zav-sampledata}
generator=$1

if [ ! -d "$scratch/node_modules/us-atlas" ] || [ ! -d "$scratch/node_modules/cldr-dates-full" ] ||
    ! command -v node >/dev/null; then
    echo "SKIP: no map data in $scratch (run tools/samplegen/rebuild.sh once)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
node "$repo/tools/samplegen/extract.mjs" "$scratch" "$work/drawing" >/dev/null
"$generator" "$work"/drawing/*.json "$work/samples" >/dev/null

(cd "$repo/samples" && find 日本 世界 -type f | LC_ALL=C sort) >"$work/want"
(cd "$work/samples" && find 日本 世界 -type f | LC_ALL=C sort) >"$work/got"
if ! diff -u "$work/want" "$work/got"; then
    echo "FAIL: the rebuild makes other files than samples/ holds"
    exit 1
fi
status=0
while IFS= read -r file; do
    cmp -s "$repo/samples/$file" "$work/samples/$file" || {
        echo "FAIL: $file differs from its rebuild"
        status=1
    }
done <"$work/want"
[ $status -eq 0 ] && echo "$(wc -l <"$work/want") files rebuilt byte for byte"
exit $status

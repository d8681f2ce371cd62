#!/bin/sh
# Rebuilds tests/core/memory/data/fsrs_reference.json, the values the memory model is compared
# with, from the reference scheduler on npm. Needs node, npm and the npm registry; the package
# goes into a scratch folder outside the repository (SCRATCH, by default /tmp/zav-fsrs) and is
# never committed. The build and the tests need none of this.
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
scratch=${SCRATCH:-/tmp/zav-fsrs}

mkdir -p "$scratch"
cd "$scratch"
[ -f package.json ] || npm init -y >/dev/null
npm install --no-audit --no-fund ts-fsrs@5.4.2

node "$repo/tools/fsrs-reference/reference.mjs" "$scratch" \
    "$repo/tests/core/memory/data/fsrs_reference.json"

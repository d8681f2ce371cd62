#!/usr/bin/env bash
# Configures and builds into build/ (program in build/bin): everything, or only the targets
# named (scripts/build.sh zavmap).
set -euo pipefail
cd "$(dirname "$0")/.."
# The sample generator too: the tests rebuild the samples when its map data is at hand.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAV_BUILD_TOOLS=ON
targets=()
if (($#)); then targets=(--target "$@"); fi
cmake --build build -j"$(nproc)" "${targets[@]}"

#!/usr/bin/env bash
# Configures and builds into build/ (program in build/bin): everything, or only the targets
# named (scripts/build.sh zavmap).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets=()
if (($#)); then targets=(--target "$@"); fi
cmake --build build -j"$(nproc)" "${targets[@]}"

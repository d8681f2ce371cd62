#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program on the bundled sample quiz.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: built build/bin/zavmap, but there is no display to show it on (DISPLAY is not set)."
    echo "run.sh: start it from a desktop session: build/bin/zavmap samples/都道府県/都道府県.zvm"
    exit 1
fi
sample="samples/都道府県/都道府県.zvm"
if [ -f "$sample" ]; then
    exec build/bin/zavmap "$PWD/$sample"
fi
exec build/bin/zavmap

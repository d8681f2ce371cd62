#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program on the bundled sample quiz.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
sample="samples/都道府県/都道府県.zvm"
if [ -f "$sample" ]; then
    exec build/bin/zavmap "$PWD/$sample"
fi
exec build/bin/zavmap

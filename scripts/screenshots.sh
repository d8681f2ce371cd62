#!/usr/bin/env bash
# Makes the README's screenshots from the real program in a private Xvfb display:
# docs/images/quiz.png (a quiz on the prefecture sample) and docs/images/editor.png.
# Needs ImageMagick's `import` and `convert` (apt-get install imagemagick) besides the
# test tools (Xvfb, xdotool).
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in import convert; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool missing (apt-get install imagemagick)"; exit 1; }
done
source tests/e2e/lib.sh
[ -x build/bin/zavmap ] || scripts/build.sh
mkdir -p docs/images

shoot() { # shoot FILE: the screen, cut to what the windows cover
    sleep 0.6
    import -window root "$E2E_DIR/screen.png"
    convert "$E2E_DIR/screen.png" -trim +repage "$1"
    echo "screenshots: wrote $1"
}

e2e_start build/bin/zavmap
sample="$PWD/samples/日本/都道府県/都道府県.zvm"
e2e_run_program "$sample"
e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys ctrl+s
e2e_focus "Go!" >/dev/null
e2e_keys Return
e2e_focus "解答欄" >/dev/null
e2e_type "東京都"
e2e_keys Return
shoot docs/images/quiz.png
e2e_cleanup
trap - EXIT

e2e_start build/bin/zavmap
e2e_run_program
e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+e f
e2e_focus "ﾌｧｲﾙ編集" >/dev/null
# Typed into the file dialog, an ASCII path is safest (its completer can swallow a character).
mkdir -p "$E2E_DIR/sample"
cp "$sample" "$E2E_DIR/sample/japan.zvm"
cp "$(dirname "$sample")"/*.bmp "$E2E_DIR/sample/"
e2e_keys ctrl+o
e2e_focus "開く" >/dev/null
e2e_type "$E2E_DIR/sample/japan.zvm"
e2e_keys Return
e2e_wait_gone "開く"
editor=$(e2e_focus "ﾌｧｲﾙ編集")
xdotool windowsize "$editor" 1180 900
sleep 0.3
# Pick a row of the table to show its texts and marker.
xdotool mousemove --window "$editor" 40 70 click 1
shoot docs/images/editor.png

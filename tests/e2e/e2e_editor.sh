#!/usr/bin/env bash
# An editing session through real X events: open the editor, choose the map in the file dialog,
# press on the map, enter an answer in Japanese, add it, save to a new file through the save
# dialog, close the editor and quit; then the saved file holds exactly the expected records.
# Paths typed into file dialogs are ASCII; the Japanese answer is pasted and read back.
# Usage: e2e_editor.sh PATH_TO_ZAVMAP
source "$(dirname "$0")/lib.sh"
data="$(cd "$(dirname "$0")/data" && pwd)"

e2e_start "$1"
mkdir -p "$E2E_DIR/quiz"
cp "$data/map.bmp" "$E2E_DIR/quiz/"
map="$E2E_DIR/quiz/map.bmp"
saved="$E2E_DIR/quiz/new.zvm"

e2e_run_program
e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+e f
editor=$(e2e_focus "ﾌｧｲﾙ編集")

e2e_keys alt+m o
e2e_focus "開く" >/dev/null
e2e_enter "$map"
e2e_keys Return
e2e_wait_gone "開く"

# The map view starts 104 px from the editor's left edge and 8 px below its menu bar.
editor=$(e2e_focus "ﾌｧｲﾙ編集")
xdotool mousemove --window "$editor" 170 75 click 1
# The press puts the focus into the answer-1 box.
e2e_enter "東京都"
e2e_keys Return
e2e_keys ctrl+s
e2e_focus "名前を付けて保存" >/dev/null
e2e_enter "$saved"
e2e_keys Return
e2e_wait_gone "名前を付けて保存"

e2e_focus "ﾌｧｲﾙ編集" >/dev/null
e2e_keys alt+f x
e2e_wait_gone "ﾌｧｲﾙ編集"
e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+f x
e2e_wait_exit

[ -f "$saved" ] || e2e_fail "nothing was saved at $saved"
# The press gives whole map pixels; where exactly depends on the menu bar's height.
point=$(sed -n 2p "$saved" | tr -d '\r')
[[ "$point" =~ ^\"Point\",\"([0-9]+)\",\"([0-9]+)\", ]] || e2e_fail "second record is not a point: $point"
x=${BASH_REMATCH[1]}
y=${BASH_REMATCH[2]}
(( x >= 60 && x <= 68 && y >= 25 && y <= 60 )) || e2e_fail "press landed at $x,$y"
printf '"Map","%s"\r\n"Point","%s","%s","","東京都","",""\r\n"End"\r\n' "$map" "$x" "$y" |
    iconv -f UTF-8 -t CP932 >"$E2E_DIR/expected.zvm"
cmp "$saved" "$E2E_DIR/expected.zvm" || e2e_fail "saved bytes differ: $(od -c "$saved" | head -n 20)"
e2e_log "editor session saved $x,$y and 東京都"
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# Zooming with Ctrl + wheel and placing points through real X events, in the editor: a press at
# 100 % places a map pixel; two notches of Ctrl + wheel over the map make it 200 %, where a
# press 20 x 10 screen pixels further on places the pixel half as far from the map's corner;
# 実ｻｲｽﾞ (Ctrl+0) gives 100 % back, where the first spot places its pixel again. The X and Y
# boxes are read back after every press.
# Usage: e2e_zoom.sh PATH_TO_ZAVMAP
source "$(dirname "$0")/lib.sh"
data="$(cd "$(dirname "$0")/data" && pwd)"

e2e_start "$1"
mkdir -p "$E2E_DIR/quiz"
cp "$data/map.bmp" "$E2E_DIR/quiz/" # 200 x 150: at 100 % and at 200 % the whole map shows
map="$E2E_DIR/quiz/map.bmp"

e2e_run_program
e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+e f
e2e_focus "ﾌｧｲﾙ編集" >/dev/null
e2e_keys alt+m o
e2e_focus "開く" >/dev/null
e2e_enter "$map"
e2e_keys Return
e2e_wait_gone "開く"
editor=$(e2e_focus "ﾌｧｲﾙ編集")

# box KEY: the text of the box that Alt+KEY moves to, copied out of it.
box() {
    e2e_keys "alt+$1"
    e2e_clipboard_set "e2e-read-back"
    e2e_box_text || e2e_fail "the box of Alt+$1 is empty"
}
# placed: the map pixel of the last press, "X Y", as the X and Y boxes hold it.
placed() {
    local x y
    x=$(box x)
    y=$(box y)
    echo "$x $y"
}
# press_at X Y: a left press at that spot of the editor window, and its map pixel.
press_at() {
    xdotool mousemove --window "$editor" "$1" "$2" click 1
    placed
}

# The map view starts 104 px from the editor's left edge and 8 px below its menu bar.
read -r x0 y0 < <(press_at 170 75)
e2e_log "at 100 %: $x0,$y0"
[[ $x0 =~ ^[0-9]+$ && $y0 =~ ^[0-9]+$ ]] || e2e_fail "no map pixel at 100 %: '$x0' '$y0'"

xdotool mousemove --window "$editor" 170 75 keydown ctrl click 4 click 4 keyup ctrl
read -r x1 y1 < <(press_at 190 85)
e2e_log "at 200 %, 20 x 10 further: $x1,$y1"
# The zoomed map still fits the view, so it keeps its corner: view position / 2.
((x1 == (x0 + 20) / 2 && y1 == (y0 + 10) / 2)) ||
    e2e_fail "at 200 % the press placed $x1,$y1, not $(((x0 + 20) / 2)),$(((y0 + 10) / 2))"

e2e_keys ctrl+0
read -r x2 y2 < <(press_at 170 75)
((x2 == x0 && y2 == y0)) || e2e_fail "back at 100 % the press placed $x2,$y2, not $x0,$y0"

# The chosen map counts as a change: the editor asks before it closes.
e2e_keys alt+f x
e2e_focus "終了" >/dev/null
e2e_keys Return
e2e_wait_gone "ﾌｧｲﾙ編集"
e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+f x
e2e_wait_exit
e2e_log "zoomed presses placed $x0,$y0 / $x1,$y1 / $x2,$y2"
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# A whole quiz through real X events: start the program on a sample, Ctrl+S, close "Good Luck!",
# answer every point with Enter twice, close the result box, quit from the menu; then the history
# file names the sample first and the settings file was written.
# Usage: e2e_quiz.sh PATH_TO_ZAVMAP
source "$(dirname "$0")/lib.sh"
data="$(cd "$(dirname "$0")/data" && pwd)"

e2e_start "$1"
mkdir -p "$E2E_DIR/quiz"
cp "$data/ascii.zvm" "$data/map.bmp" "$E2E_DIR/quiz/"
sample="$E2E_DIR/quiz/ascii.zvm"

e2e_run_program "$sample"
e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys ctrl+s
e2e_focus "Go!" >/dev/null
e2e_keys Return

# Three points: "ok" is answer 2 of each, so two right and one wrong whatever the order.
for answer in ok ok wrong; do
    e2e_focus "解答欄" >/dev/null
    e2e_enter "$answer"
    e2e_keys Return Return
done
e2e_focus "終了" >/dev/null
e2e_keys Return
e2e_wait_gone "終了"
e2e_wait_gone "解答欄"

e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+f x
e2e_wait_exit

history="$E2E_OWN/履歴.zav"
[ -f "$history" ] || e2e_fail "no history file was written"
first=$(head -n 1 "$history" | tr -d '\r')
[ "$first" = "\"$sample\"" ] || e2e_fail "history starts with $first, not the sample"
settings=$(cat "$E2E_OWN/設定.zav")
[ "$settings" = $'"True"\r' ] || e2e_fail "settings file holds '$settings'"
e2e_log "quiz played; history names the sample first"
echo "1 passed, 0 failed"

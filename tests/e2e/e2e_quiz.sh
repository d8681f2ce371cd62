#!/usr/bin/env bash
# A whole quiz through real X events: start the program on a sample, Ctrl+S, close "Good Luck!",
# answer every point with Enter twice, close the result box, quit from the menu; then the history
# file names the sample first and the settings file was written.
# Usage: e2e_quiz.sh PATH_TO_ZAVMAP
source "$(dirname "$0")/lib.sh"

e2e_start "$1"
e2e_ascii_quiz
e2e_start_quiz ctrl+s
# Three points: "ok" is answer 2 of each, so two right and one wrong whatever the order.
e2e_answer_typed ok ok wrong
e2e_close_end_box

e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+f x
e2e_wait_exit

history="$E2E_OWN/履歴.zav"
[ -f "$history" ] || e2e_fail "no history file was written"
first=$(head -n 1 "$history" | tr -d '\r')
[ "$first" = "\"$E2E_QUIZ\"" ] || e2e_fail "history starts with $first, not the sample"
settings=$(cat "$E2E_OWN/設定.zav")
[ "$settings" = $'"True"\r' ] || e2e_fail "settings file holds '$settings'"
e2e_log "quiz played; history names the sample first"
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# Today's review through real X events: 編集 > ﾓｰﾄﾞ > 今日の復習ﾓｰﾄﾞ from the menu, Ctrl+S on a
# file never asked (three new points), the first question missed and the other two answered
# right; the miss comes back, is answered right, and the result box ends the quiz. The record
# holds the four answers as today's review's, the miss asked again last. A second Ctrl+S finds
# nothing due: the message, and no quiz.
# Usage: e2e_review.sh PATH_TO_ZAVMAP
source "$(dirname "$0")/lib.sh"
command -v sqlite3 >/dev/null || { echo "SKIP: sqlite3 is not installed"; exit $E2E_SKIP; }

e2e_start "$1"
e2e_ascii_quiz
e2e_start_quiz alt+e m r ctrl+s
# "ok" is answer 2 of every point.
e2e_answer_typed wrong ok ok ok
e2e_close_end_box

e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys ctrl+s
e2e_focus "今日の復習" >/dev/null
e2e_keys Return
e2e_wait_gone "今日の復習"
e2e_window_gone "解答欄" || e2e_fail "a quiz started with nothing due"

e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+f x
e2e_wait_exit

record="$E2E_OWN/学習記録.db"
[ -f "$record" ] || e2e_fail "no study record was written"
rows=$(sqlite3 "$record" "SELECT a.mode, a.correct, p.answer1 FROM attempts AS a
    JOIN points AS p ON p.id = a.point_id ORDER BY a.id")
[ "$(wc -l <<<"$rows")" = 4 ] || e2e_fail "the record holds: $rows"
grep -qv '^Review|' <<<"$rows" && e2e_fail "an answer was not recorded as the review's: $rows"
missed=$(sed -n 1p <<<"$rows")
name=${missed##*|}
[ "$missed" = "Review|0|$name" ] || e2e_fail "the first answer was not the miss: $rows"
[ "$(sed -n 4p <<<"$rows")" = "Review|1|$name" ] || e2e_fail "the miss did not come back: $rows"
e2e_log "reviewed: $(tr "\n" " " <<<"$rows")"
echo "1 passed, 0 failed"

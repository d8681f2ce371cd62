#!/usr/bin/env bash
# A quiz answered by choosing, through real X events: 解答方法 > 選択式 from the menu, Ctrl+S,
# each question answered with the key 1 and Enter, the result box closed; then the verdicts are
# read back from the study record the program wrote: every question recorded as a choice of one
# of the file's names, judged right exactly when it was the asked point's own, and the method
# kept in the settings.
# Usage: e2e_choice.sh PATH_TO_ZAVMAP
source "$(dirname "$0")/lib.sh"
command -v sqlite3 >/dev/null || { echo "SKIP: sqlite3 is not installed"; exit $E2E_SKIP; }

e2e_start "$1"
e2e_ascii_quiz
e2e_start_quiz alt+e a c ctrl+s

# Three points with three names: three buttons. Key 1 is right or wrong, as it falls.
for question in 1 2 3; do
    e2e_focus "解答欄" >/dev/null
    e2e_keys 1 Return
done
e2e_close_end_box
e2e_focus "ZAV地図覚え" >/dev/null
e2e_keys alt+f x
e2e_wait_exit

record="$E2E_OWN/学習記録.db"
[ -f "$record" ] || e2e_fail "no study record was written"
rows=$(sqlite3 "$record" "SELECT a.typed IN ('West Cape', 'North Point', 'East Bay'),
    a.correct, a.typed = p.answer1 FROM attempts AS a JOIN points AS p ON p.id = a.point_id
    WHERE a.method = 'Choice'")
[ "$(wc -l <<<"$rows")" = 3 ] || e2e_fail "the record holds these choices: $rows"
grep -qv '^1|\(1|1\|0|0\)$' <<<"$rows" && e2e_fail "a choice was recorded wrongly: $rows"
grep -q '"AnswerMethod","Choice"' "$E2E_OWN/設定.zav" || e2e_fail "the settings do not keep 選択式"
right=$(grep -c '^1|1|1$' <<<"$rows" || true)
e2e_log "three questions chosen by key, $right right, as recorded: $(tr "\n" " " <<<"$rows")"
echo "1 passed, 0 failed"

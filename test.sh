#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite:
#  1. every test (unit, window and end-to-end) on the normal build;
#  2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer;
#  3. each fuzz target for a bounded time (ZAV_FUZZ_SECONDS, default 60).
set -uo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh || exit 1
scripts/build.sh || exit 1

log=$(mktemp)
trap 'rm -f "$log"' EXIT
failed_stages=0

stage() {
    local name=$1
    shift
    echo "== $name"
    if ! "$@" 2>&1 | tee -a "$log"; then
        echo "== $name FAILED"
        failed_stages=$((failed_stages + 1))
    fi
}

stage "tests" bash -c 'cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"'
stage "sanitizers" scripts/sanitize.sh
stage "fuzzing" scripts/fuzz.sh "${ZAV_FUZZ_SECONDS:-60}"

# One closing line over all stages: CTest's counts plus one per fuzz target.
passed=0
failed=0
while read -r _ _ _ bad _ _ _ _ total; do
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done < <(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log")
fuzz_ok=$(grep -cE '^fuzz: fuzz_[a-z0-9]+ executed [0-9]+ inputs' "$log")
fuzz_bad=$(grep -cE '^fuzz: fuzz_[a-z0-9]+ FAILED' "$log")
passed=$((passed + fuzz_ok - fuzz_bad))
failed=$((failed + fuzz_bad))
if ((failed_stages > 0 && failed == 0)); then failed=$failed_stages; fi
echo "summary: $passed passed, $failed failed"
((failed == 0))

#!/usr/bin/env bash
# ./test's closing lines: a phase's counts read from ctest's report of a small project whose tests
# pass, fail and skip; a phase whose command prints no total counts as one failure; a run ended by
# a failing build counts one failure although no test failed; the total is the last line; a phase
# run beside others adds its marked line and its counts when joined, and its failure ends the run.
set -euo pipefail
phases=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/test-phases.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(phases NONE)
enable_testing()
add_test(NAME passes COMMAND true)
add_test(NAME fails COMMAND false)
add_test(NAME skips COMMAND sh -c "echo '[  SKIPPED ] here'")
set_tests_properties(skips PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
CMAKE
cmake -S "$work" -B "$work/build" -G Ninja >/dev/null

# Each case: the phases run (bash), then the lines the run must end with, its exit status last.
cases=(
  'cd "$work" && ctest_phase "demo tests" build; summed_phase "summed" "$work/log" echo "3 passed, 0 failed"; [[ $total_failed -eq 0 ]]'
  $'demo tests [0-9]+ s 1 passed 1 failed 1 skipped\nsummed [0-9]+ s 3 passed 0 failed\n4 passed, 1 failed\nstatus 1'
  'summed_phase "silent" "$work/log" true; [[ $total_failed -eq 0 ]]'
  $'silent [0-9]+ s 0 passed 1 failed\n0 passed, 1 failed\nstatus 1'
  'summed_phase "summed" "$work/log" echo "2 passed, 0 failed"; timed "build" false; echo not reached'
  $'summed [0-9]+ s 2 passed 0 failed\nbuild [0-9]+ s\n2 passed, 1 failed\nstatus 1'
  'phase_logs=$work/phases; beside bg summed_phase "aside" "$work/log" echo "2 passed, 1 failed"; timed "fg" true; joined bg "beside fg"; [[ $total_failed -eq 0 ]]'
  $'fg [0-9]+ s\naside [0-9]+ s 2 passed 1 failed \\(beside fg\\)\n2 passed, 1 failed\nstatus 1'
  'phase_logs=$work/phases; beside bg timed "build" false; joined bg "beside"; echo not reached'
  $'build [0-9]+ s \\(beside\\)\n0 passed, 1 failed\nstatus 1'
)
failures=0
for ((i = 0; i < ${#cases[@]}; i += 2)); do
  expected=${cases[i + 1]}
  status=0
  output=$(work=$work bash -c "set -euo pipefail; source '$phases'; trap summary EXIT; ${cases[i]}" 2>&1) || status=$?
  ended=$(tail -n "$(wc -l <<<"$expected")" <<<"$output"$'\n'"status $status")
  if ! [[ $ended =~ ^$expected$ ]]; then
    echo "FAILED: ${cases[i]}"$'\n'"ended with:"$'\n'"$ended"
    failures=$((failures + 1))
  fi
done
[[ $failures -eq 0 ]] && echo ok

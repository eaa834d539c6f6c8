# The phases of ./test, sourced by it: each phase's time and its tests' counts, printed at the end
# one line a phase ("release tests 76 s 898 passed 0 failed") with the total over all phases
# ("N passed, M failed") as the last line. A run that ends early (a build that fails) counts as
# a failure when no test failed. A phase may run in the background beside the phases that follow
# it (beside, joined); its line then says so.

phase_lines=()
total_passed=0
total_failed=0

# The EXIT trap: the phases' lines and the total. A phase still running beside (the run ended
# early) is ended with all it started.
summary() {
  local status=$? name
  for name in "${!beside_pids[@]}"; do
    kill -TERM -- "-${beside_pids[$name]}" 2>/dev/null || true
  done
  [[ $status -eq 0 || $total_failed -gt 0 ]] || total_failed=1
  printf '%s\n' "${phase_lines[@]}"
  echo "$total_passed passed, $total_failed failed"
}

# timed NAME COMMAND...: runs the command as a phase and notes its time; returns its status.
timed() {
  local name=$1 started=$SECONDS status=0
  shift
  "$@" || status=$?
  phase_lines+=("$name $((SECONDS - started)) s")
  return $status
}

# counted PASSED FAILED: adds the counts to the last phase's line and to the totals.
counted() {
  phase_lines[-1]+=" $1 passed $2 failed"
  total_passed=$((total_passed + $1))
  total_failed=$((total_failed + $2))
}

# ctest_phase NAME BUILD_DIR: runs a build's tests; their counts come from ctest's JUnit report,
# a skipped test counting neither as passed nor as failed.
ctest_phase() {
  local name=$1 report tests failures skipped
  report=$(cd "$2" && pwd)/ctest-report.xml  # ctest takes a relative path as one inside the build
  rm -f "$report"
  timed "$name" ctest --test-dir "$2" --output-on-failure -j2 --output-junit "$report" || true
  tests=$(report_count "$report" tests)
  failures=$(report_count "$report" failures)
  skipped=$(report_count "$report" skipped)
  if [[ -z $tests || -z $failures || -z $skipped ]]; then
    counted 0 1
    return
  fi
  counted $((tests - failures - skipped)) "$failures"
  [[ $skipped -eq 0 ]] || phase_lines[-1]+=" $skipped skipped"
}

# report_count REPORT ATTRIBUTE: a count of the report's test suite (its attributes stand one a line).
report_count() {
  sed -n "s/^[[:space:]]*$2=\"\([0-9]*\)\"$/\1/p" "$1" 2>/dev/null | head -n 1
}

# summed_phase NAME LOG COMMAND...: runs a command that ends its output with "N passed, M failed",
# keeping the output in LOG; its counts are those of that line (none: one failure).
summed_phase() {
  local name=$1 log=$2 passed failed
  shift 2
  timed "$name" bash -c '"${@:2}" | tee "$1"' _ "$log" "$@" || true
  read -r passed failed < <(tail -n 1 "$log" | sed -n 's/^\([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p') || true
  counted "${passed:-0}" "${failed:-1}"
}

declare -A beside_pids=()
phase_logs=${phase_logs:-$(pwd)/build/phases}

# beside NAME PHASE...: starts a phase (PHASE is timed, ctest_phase or summed_phase with their
# arguments) in the background, in a process group of its own, its output kept in
# $phase_logs/NAME.log, and returns at once.
beside() {
  local name=$1
  shift
  mkdir -p "$phase_logs"
  rm -f "$phase_logs/$name.state"
  set -m
  (
    phase_lines=() total_passed=0 total_failed=0 status=0
    "$@" || status=$?
    { printf 'line %s\n' "${phase_lines[@]}"; echo "counts $total_passed $total_failed $status"; } \
      >"$phase_logs/$name.state"
  ) </dev/null >"$phase_logs/$name.log" 2>&1 &
  beside_pids[$name]=$!
  set +m
}

# joined NAME NOTE: waits for the phase started by beside, prints its output and adds its lines,
# marked "(NOTE)", and its counts to the run's; returns its status (a phase that ended without
# its counts: one failure).
joined() {
  local name=$1 note=$2 kind text passed=0 failed=1 status=1
  wait "${beside_pids[$name]}" || true
  unset "beside_pids[$name]"
  cat "$phase_logs/$name.log"
  while read -r kind text; do
    case $kind in
      line) phase_lines+=("$text ($note)") ;;
      counts) read -r passed failed status <<<"$text" ;;
    esac
  done < <(cat "$phase_logs/$name.state" 2>/dev/null)
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  return "$status"
}

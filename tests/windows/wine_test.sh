#!/usr/bin/env bash
# Runs a Windows test program under the tests' Wine (tests/windows/wine.sh) inside the job
# launcher's kill-on-close job, so that no process it left behind outlives it and holds its
# output open: the emulator through which CTest lists and runs the Windows tests. The output
# goes to a file first and is then printed without Wine's CRs and its note on wine32; exits
# with the program's status.
#   wine_test.sh BUILD_DIR PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
out=$1
program=$2
shift 2
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
[[ -f $wine_dir/prefix-ready ]] || "$(dirname "${BASH_SOURCE[0]}")/wine_prefix.sh" "$out" >&2
results=$(mktemp "$out/wine_test.XXXXXX")
trap 'rm -f "$results"' EXIT
status=0
in_wine timeout 600 wine "$out/job_launcher.exe" "$(windows_path "$program")" "$@" >"$results" 2>&1 || status=$?
without_wine_notes <"$results"
exit $status

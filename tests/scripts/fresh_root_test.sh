#!/usr/bin/env bash
# The fresh-root runner for real, making Debian roots (a few minutes, as root): what a root
# holds and lacks, the command's exit status, services and processes left running inside,
# and an interrupt while the command runs and while the root is being made. After each
# run nothing of the root may be left, and the machine's own files must all be there.
# Not among the unit tests, which fresh_root_cleanup_test.sh serves in seconds.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
checkout=$(cd "$here/../.." && pwd)
# shellcheck source=fresh_root_checks.sh
source "$here/fresh_root_checks.sh"
if [[ $(id -u) -ne 0 ]]; then
  echo "run as root: the runner mounts and makes Debian roots"
  exit 1
fi

work=$(mktemp -d)
runner=""
# A runner still going when this test is stopped is stopped too, and removes its root.
finish() {
  if [[ -n $runner ]] && kill -TERM "$runner" 2>/dev/null; then wait "$runner"; fi
  rm -rf -- "$work"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Starts the clone's runner in the background as runner, messages to $work/log and the
# command's output to $work/out; it takes Ctrl-C as when started in the foreground.
start_runner() {
  : >"$work/out"
  : >"$work/log"  # emptied now, not when the child gets to it: the last run's text is gone
  env --default-signal=INT "$clone/scripts/fresh-root" "$@" >>"$work/out" 2>>"$work/log" &
  runner=$!
}

finish_runner() {  # waits for the runner; its exit status in runner_status
  runner_status=0
  wait "$runner" || runner_status=$?
  runner=""
}

# A clone of the checkout with the runner and the checks inside as they are now, an
# untracked file, an ignored build folder and an unignored build tree.
clone=$work/clone
git clone -q "$checkout" "$clone"
cp "$checkout/scripts/fresh-root" "$clone/scripts/fresh-root"
mkdir -p "$clone/tests/scripts"
cp "$here/fresh_root_inside.sh" "$clone/tests/scripts/"
echo "not tracked, not ignored" >"$clone/extra.txt"
mkdir -p "$clone/build/debug" "$clone/out"
touch "$clone/build/debug/CMakeCache.txt" "$clone/out/CMakeCache.txt" "$clone/out/object.o"

# Debian's suites as this machine's apt policy lists them: "URI SUITE" lines.
machine_suites() {
  apt-cache policy | awk '/^ *-?[0-9]+ [a-z]+:\/\// { uri = $2; split($3, parts, "/"); suite = parts[1] }
                          /^ +release .*o=Debian,/ { sub(/\/+$/, "", uri); print uri, suite }' | sort -u
}

plant_sentinels

FRESH_ROOT_PROBE=1 start_runner tests/scripts/fresh_root_inside.sh "$(machine_suites)"
finish_runner
expect_status "a root's content" 7 "$runner_status"
grep -h "FAIL inside" "$work/out" "$work/log" >&2
expect_root_gone "a root's content" "$(announced_root "$work/log")"
grep -h "^fresh-root: root ready" "$work/log"

# Interrupted (Ctrl-C) while the command runs.
start_runner bash -c 'echo ready; sleep 600'
wait_for_text "$work/out" 600 ready && kill -INT "$runner"
finish_runner
expect_status "interrupted command" 130 "$runner_status"
expect_root_gone "interrupted command" "$(announced_root "$work/log")"

# Stopped while the root is being made, once packages are being unpacked into it.
start_runner true
wait_for_text "$work/log" 60 "making a root in"
root=$(announced_root "$work/log")
for _ in {1..600}; do
  [[ -e $root/var/lib/dpkg/status || ! -e /proc/$runner ]] && break
  sleep 0.5
done
kill -TERM "$runner"
finish_runner
expect_status "stopped while making the root" 143 "$runner_status"
grep -q "interrupted; removing the root" "$work/log" || fail "stopped while making the root: the runner did not say so"
expect_root_gone "stopped while making the root" "$root"
for proc in /proc/[0-9]*; do
  [[ -n $root ]] || break
  if grep -qF "$root" "$proc/cmdline" 2>/dev/null; then fail "still running for the removed root: $(tr '\0' ' ' <"$proc/cmdline")"; fi
done

expect_sentinels
echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
[[ $failures -eq 0 ]]

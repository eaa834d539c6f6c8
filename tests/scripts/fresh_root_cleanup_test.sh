#!/usr/bin/env bash
# The fresh-root runner's clean-up in seconds, without making a Debian root: the runner's
# own steps run on a small root made of a few of this machine's programs, for a command
# that fails, one that leaves a process running inside, one interrupted, and one whose
# mounts cannot be undone (the root must then be left, not deleted through them).
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
runner=$here/../../scripts/fresh-root
# shellcheck source=fresh_root_checks.sh
source "$here/fresh_root_checks.sh"
if [[ $(id -u) -ne 0 ]]; then
  echo "skipped: the runner mounts, which needs root"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

# Starts the runner's main in the background, with the root made of this machine's bash,
# sleep and env; $1 is bash code run after the runner is read (to change a step), the
# rest is the command. Messages go to $work/log, the command's output to $work/out; the
# runner's process is runner_pid, and it takes Ctrl-C as when started in the foreground.
start_on_small_root() {
  local change=$1
  shift
  : >"$work/out"
  : >"$work/log"  # emptied now, not when the child gets to it: the last run's text is gone
  (exec env --default-signal=INT bash -c '
    source "$0"
    small_root() {
      local program library
      mkdir -p "$root"/{proc,sys,dev,tmp,mnt,usr/bin} "$root$inside"
      ln -s usr/bin "$root/bin"
      for program in bash sleep env; do
        program=$(command -v "$program")
        cp -L "$program" "$root/usr/bin/"
        for library in $(ldd "$program" | grep -o "/[^ ]*"); do cp -L --parents "$library" "$root"; done
      done
    }
    make_root() { small_root; }
    copy_checkout() { :; }
    set_up_apt() { :; }
    eval "$1"
    shift
    main "$@"' "$runner" "$change" "$@" >>"$work/out" 2>>"$work/log") &
  runner_pid=$!
}

run_on_small_root() {
  start_on_small_root "$@"
  wait "$runner_pid"
}

plant_sentinels

run_on_small_root "" bash -c 'exit 7'
expect_status "failing command" 7 $?
expect_root_gone "failing command" "$(announced_root "$work/log")"

run_on_small_root "" bash -c 'sleep 300 </dev/null >/dev/null 2>&1 & echo $!'
expect_status "process left running" 0 $?
expect_root_gone "process left running" "$(announced_root "$work/log")"
left=$(cat "$work/out")
if [[ -n $left ]] && still_running "$left"; then fail "the process left running inside still runs"; fi

# Interrupted while the command runs, with a folder of the machine bound into the root.
start_on_small_root "" bash -c 'echo ready; sleep 300'
if wait_for_text "$work/out" 60 ready; then
  root=$(announced_root "$work/log")
  mount --bind "$sentinel_dir" "$root/mnt"
  kill -INT "$runner_pid"
fi
wait "$runner_pid"
expect_status "interrupted" 130 $?
expect_root_gone "interrupted" "$(announced_root "$work/log")"

# Mounts that cannot be undone: the root, with the machine's folder bound into it, stays.
start_on_small_root 'umount() { return 1; }' bash -c 'echo ready; sleep 2'
if wait_for_text "$work/out" 60 ready; then
  root=$(announced_root "$work/log")
  mount --bind "$sentinel_dir" "$root/mnt"
fi
wait "$runner_pid"
expect_status "mounts that stay" 1 $?
root=$(announced_root "$work/log")
if grep -q "left in place" "$work/log" && [[ -d $root ]]; then pass "mounts that stay: root left in place"; else
  fail "mounts that stay: the root was not left in place"
fi
[[ -n $root ]] && mountpoint -q "$root" && umount -R "$root"
if [[ -n $root && -z $(mounts_below "$root") && $root == /var/tmp/sharemon-root.?????? ]]; then
  rm -rf --one-file-system -- "$root"
fi

expect_sentinels
echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
[[ $failures -eq 0 ]]

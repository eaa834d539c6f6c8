# shellcheck shell=bash
# What a finished run of scripts/fresh-root must leave behind, for its tests: nothing of
# the root, and every file of the machine's own that a careless removal would take first.
# Sourced; counts failures in `failures`.

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

expect_status() {  # WHAT EXPECTED ACTUAL
  if [[ $2 == "$3" ]]; then pass "$1: status $3"; else fail "$1: status $3, expected $2"; fi
}

# The root a run announced in its messages (file $1).
announced_root() { sed -n 's/^fresh-root: making a root in //p' "$1" | head -n 1; }

processes_inside() {  # ROOT
  local proc link
  for proc in /proc/[0-9]*; do
    link=$(readlink "$proc/root" 2>/dev/null) || continue
    if [[ $link == "$1" || $link == "$1"/* ]]; then echo "${proc#/proc/}"; fi
  done
}

# Whether process $1 still runs: an ended one may stay listed until its parent collects it.
still_running() {
  local line
  read -r line 2>/dev/null <"/proc/$1/stat" || return 1
  line=${line##*) }
  [[ ${line%% *} != Z ]]
}

mounts_below() {  # ROOT
  findmnt -rn -o TARGET | awk -v root="$1" '$0 == root || index($0, root "/") == 1'
}

expect_root_gone() {  # WHAT ROOT
  local what=$1 root=$2
  if [[ -z $root ]]; then
    fail "$what: the run announced no root"
    return
  fi
  local left
  left=$(processes_inside "$root")
  [[ -z $left ]] || fail "$what: processes still inside $root: $left"
  left=$(mounts_below "$root")
  [[ -z $left ]] || fail "$what: still mounted below $root: $left"
  [[ ! -e $root ]] || fail "$what: $root still exists"
  [[ -n $left || -e $root ]] || pass "$what: root removed"
}

# Files of the machine that the root reaches through its mounts: in /dev/shm (under the
# root's /dev) and, bound into a root by a test, a folder on the roots' own file system.
plant_sentinels() {
  sentinel_shm=$(mktemp /dev/shm/fresh-root-sentinel.XXXXXX)
  sentinel_dir=$(mktemp -d /var/tmp/fresh-root-sentinel.XXXXXX)
  touch "$sentinel_dir/keep"
}

expect_sentinels() {
  [[ -f $sentinel_shm ]] || fail "a file in the machine's /dev/shm is gone"
  [[ -f $sentinel_dir/keep ]] || fail "a file in a folder bound into the root is gone"
  [[ -c /dev/null ]] || fail "the machine's /dev/null is no longer a device"
  mountpoint -q /dev/pts || fail "the machine's /dev/pts is no longer mounted"
  rm -rf -- "$sentinel_shm" "$sentinel_dir"
}

# Waits up to $2 seconds for the text $3 in file $1.
wait_for_text() {
  local deadline=$((SECONDS + $2))
  until grep -qF -- "$3" "$1" 2>/dev/null; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

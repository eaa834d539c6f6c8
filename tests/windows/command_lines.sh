#!/usr/bin/env bash
# The command lines of command_lines.txt run by the Linux program and by sharemon.com under the
# tests' Wine (tests/windows/wine.sh), each in a fresh directory with the same table file:
# standard output, standard error (line ends aside) and exit code must be the same. The Linux
# side probes through a status service of its own on a private socket, over a Samba
# configuration of its own; the Windows side through the prefix's stand-in net.exe. Prints each
# difference and exits 1 when there is one; exits 77 (skipped) without a Linux build.
#   command_lines.sh BUILD_DIR LINUX_BUILD_DIR
set -euo pipefail
out=$1
linux=${2:-}
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
if [[ ! -x $linux/sharemon || ! -x $linux/sharemond ]]; then
  echo "skipped: no Linux build given (SHAREMON_LINUX_BUILD)"
  exit 77
fi
work=$(mktemp -d "$out/command-lines.XXXXXX")
service=
trap '[[ -z $service ]] || { kill "$service"; wait "$service" || true; }; rm -rf "$work"' EXIT

printf '[global]\n lock directory = %s\n state directory = %s\n cache directory = %s\n pid directory = %s\n private dir = %s\n usershare path =\n[docs]\n path = %s\n' \
  "$work" "$work" "$work" "$work" "$work" "$work" >"$work/smb.conf"
export SHAREMON_SMB_CONF=$work/smb.conf SHAREMON_STATUS_SOCKET=$work/status.sock
# A login session's own directory, without which Qt warns on standard error.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$linux/sharemond" --socket-group "$(id -gn)" 2>"$work/sharemond.log" &
service=$!
for _ in $(seq 100); do [[ -S $SHAREMON_STATUS_SOCKET ]] && break; sleep 0.1; done

# Runs one side in a fresh directory: "$1" names the side, the rest is its command.
run() {
  local side=$1 dir=$work/$1
  shift
  rm -rf "$dir" && mkdir "$dir"
  printf '\xc2\xf0\xe5\xec\xff,docs\r\n08.12.2026 10:00:00,2\r\n09.12.2026 10:00:00,3\r\n' >"$dir/list.txt"
  local status=0
  (cd "$dir" && "$@" >"$work/$side.out" 2>"$work/$side.err") || status=$?
  without_wine_notes <"$work/$side.out" >"$work/$side.stdout"
  without_wine_notes <"$work/$side.err" >"$work/$side.stderr"
  echo "$status" >"$work/$side.status"
}

differences=0
while read -r -a arguments; do
  [[ ${#arguments[@]} -eq 0 || ${arguments[0]} == "#"* ]] && continue
  run linux timeout 60 "$linux/sharemon" "${arguments[@]}"
  run windows in_wine timeout 60 wine "$out/sharemon.com" "${arguments[@]}"
  for part in status stdout stderr; do
    if ! diff -u --label "linux $part" --label "windows $part" "$work/linux.$part" "$work/windows.$part"; then
      echo "^ sharemon ${arguments[*]}"
      differences=$((differences + 1))
    fi
  done
done <"$(dirname "${BASH_SOURCE[0]}")/command_lines.txt"
echo "$differences differences"
[[ $differences -eq 0 ]]

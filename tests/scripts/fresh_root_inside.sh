#!/usr/bin/env bash
# Run by fresh_root_test.sh inside a fresh root, in the copied checkout: what the root holds
# and lacks. $1 is the "URI SUITE" lines of Debian's suites in the machine's apt sources.
# Exits 7 when all hold, after installing a package with a service and starting two
# processes meant to outlive the command, which the runner must end.
set -u
# shellcheck disable=SC2034  # read by the checks, through eval
expected_suites=$1
failed=0
check() {
  if ! eval "$1"; then
    echo "FAIL inside the root: $1" >&2
    failed=1
  fi
}

check '[[ -f extra.txt && -x scripts/fresh-root && -f README.md ]]'
check '[[ ! -e build && ! -e out ]]'
check '[[ -z ${FRESH_ROOT_PROBE:-} && $(id -u) -eq 0 && $HOME == /root ]]'
check '[[ $(stat -c %a /) == 755 ]]'
check 'grep -qx "VERSION_ID=\"12\"" /etc/os-release'
check '[[ $(awk "\$1 == \"deb\" { sub(/\/+$/, \"\", \$2); print \$2, \$3 }" /etc/apt/sources.list | sort -u) == "$expected_suites" ]]'
check '! dpkg -s libqt6opengl6-dev >/dev/null 2>&1'
check '[[ $(findmnt -n -o FSTYPE /proc) == proc && $(findmnt -n -o FSTYPE /tmp) == tmpfs ]]'
check '[[ -c /dev/null ]] && mountpoint -q /dev/pts && mountpoint -q /dev/shm && mountpoint -q /sys'
check '/usr/sbin/policy-rc.d; [[ $? -eq 101 ]]'
check 'DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends cron >/dev/null 2>&1'
check '! grep -qx cron /proc/[0-9]*/comm'

setsid sleep 600 </dev/null >/dev/null 2>&1 &
(cd /tmp && exec 3>/dev/shm/held && setsid sleep 600 </dev/null >/dev/null 2>&1 &)
((failed)) && exit 1
exit 7

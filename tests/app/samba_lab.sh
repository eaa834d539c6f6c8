#!/usr/bin/env bash
# A private Samba server on 127.0.0.1 for the end-to-end test of the share list, the user
# probe and the status service. Everything lives under LAB_DIR; the test users carry the marker
# "sharemon-test-user" in their comment and the test groups the name prefix "sharemon-test-",
# and only those this lab created are ever removed.
#   samba_lab.sh start LAB_DIR PORT USER...     configure, create users (password "pw"), start smbd;
#                                               LAB_EXTRA_SHARES=N adds the guest shares bench01..benchN
#   samba_lab.sh open LAB_DIR NAME SHARE USER [OPTION...]
#                                               hold a client session (USER "-" = guest) until closed,
#                                               with smbclient's OPTIONs (e.g. -m NT1)
#   samba_lab.sh hold LAB_DIR NAME FILE         open FILE of the session's share, kept open with it
#   samba_lab.sh files LAB_DIR NAME SHARE COUNT hold COUNT new files of SHARE open as a guest, in one
#                                               client (python3-smbc) named NAME, until stop
#   samba_lab.sh close LAB_DIR NAME             log the session off and wait until its client has gone
#   samba_lab.sh logoff LAB_DIR NAME            only tell the session's client to log off (Samba drops
#                                               the session at once; the client takes a while to exit)
#   samba_lab.sh halt LAB_DIR                   stop smbd (its sessions go with it), keep everything else
#   samba_lab.sh group LAB_DIR GROUP USER...    create GROUP and users without Samba accounts in it
#   samba_lab.sh service LAB_DIR PROGRAM GROUP [OPTION...]
#                                               start the status service PROGRAM on LAB_DIR/status.sock
#                                               for GROUP with this lab's configuration (log:
#                                               LAB_DIR/sharemond.log); a running one is stopped first
#   samba_lab.sh stop LAB_DIR                   end every process it started, remove users, groups, LAB_DIR
set -euo pipefail

readonly marker=sharemon-test-user
readonly group_prefix=sharemon-test-
command=$1 lab=$2
shift 2
conf=$lab/smb.conf

write_config() {
  local port=$1
  mkdir -p "$lab"/{lock,state,cache,pid,private,ncalrpc,bind-dns,log,shares/s1,shares/s2,shares/s3}
  chmod 755 "$lab"
  cat >"$conf" <<CONF
[global]
  server role = standalone server
  workgroup = LABGROUP
  netbios name = SHAREMONLAB
  smb ports = $port
  interfaces = lo
  bind interfaces only = yes
  disable netbios = yes
  server min protocol = NT1
  load printers = no
  printcap name = /dev/null
  disable spoolss = yes
  map to guest = Bad User
  lock directory = $lab/lock
  state directory = $lab/state
  cache directory = $lab/cache
  pid directory = $lab/pid
  private dir = $lab/private
  ncalrpc dir = $lab/ncalrpc
  binddns dir = $lab/bind-dns
  log file = $lab/log/log.%m
  usershare path =
  passdb backend = tdbsam:$lab/private/passdb.tdb

[public]
  path = $lab/shares/s1
  comment = Public files
  guest ok = yes
  read only = no

[Отчеты]
  path = $lab/shares/s2
  guest ok = yes
  read only = no

[team docs]
  path = $lab/shares/s3
  guest ok = yes
  read only = no
CONF
  local i name
  for ((i = 1; i <= ${LAB_EXTRA_SHARES:-0}; i++)); do
    printf -v name 'bench%02d' "$i"
    mkdir -p "$lab/shares/$name"
    printf '\n[%s]\n  path = %s\n  guest ok = yes\n' "$name" "$lab/shares/$name" >>"$conf"
  done
  echo "$port" >"$lab/port"
}

add_users() {
  local user
  for user in "$@"; do
    if ! id "$user" >/dev/null 2>&1; then
      useradd --no-create-home --shell /usr/sbin/nologin --no-user-group --comment "$marker" "$user"
    fi
    echo "$user" >>"$lab/users"
    printf 'pw\npw\n' | smbpasswd -c "$conf" -s -a "$user" >/dev/null
  done
}

add_group() {
  local group=$1 user
  shift
  [[ $group == "$group_prefix"* ]] || { echo "test groups start with $group_prefix" >&2; return 1; }
  if ! getent group "$group" >/dev/null; then
    groupadd "$group"
    echo "$group" >>"$lab/groups"
  fi
  for user in "$@"; do
    if ! id "$user" >/dev/null 2>&1; then
      useradd --no-create-home --shell /usr/sbin/nologin --no-user-group --comment "$marker" -G "$group" "$user"
      echo "$user" >>"$lab/users"
    fi
  done
}

# A pid number is given out again once its process has gone, and on a busy machine soon: a
# signal sent to a pid that outlived its process reaches somebody else's (another test's Wine
# child dies before it starts, a compiler is killed). So the lab records a process as its pid
# with its start time and signals it only while both still match.
start_time_of() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  set -- ${stat##*) }
  echo "${20}"
}

record_process() { echo "$1 $(start_time_of "$1")" >"$2"; }

# The pid the file records while that process still runs; nothing otherwise.
recorded_pid() {
  local pid= start=
  [[ -f $1 ]] && read -r pid start <"$1" || true
  if [[ -n $pid && -n $start && $(start_time_of "$pid") == "$start" ]]; then echo "$pid"; fi
}

signal_recorded() {
  local pid
  pid=$(recorded_pid "$2")
  [[ -z $pid ]] || kill "$1" "$pid" 2>/dev/null || true
}

# Waits up to 5 s for the recorded process to end, then kills it.
wait_gone() {
  local file=$1 attempt
  for attempt in $(seq 50); do
    [[ -n $(recorded_pid "$file") ]] || return 0
    sleep 0.1
  done
  signal_recorded -KILL "$file"
}

# Ends the recorded process (SIGTERM, SIGKILL after 5 s) and removes the file.
end_process_of() {
  local file=$1
  signal_recorded -TERM "$file"
  wait_gone "$file"
  rm -f "$file"
}

stop_service() { end_process_of "$lab/sharemond.pid"; }

start_service() {
  local program=$1 group=$2
  shift 2
  stop_service
  : >"$lab/sharemond.log"
  SHAREMON_SMB_CONF=$conf setsid "$program" --socket "$lab/status.sock" --socket-group "$group" "$@" \
    </dev/null >>"$lab/sharemond.log" 2>&1 &
  record_process $! "$lab/sharemond.pid"
  local attempt
  for attempt in $(seq 100); do
    grep -qs "serving share reports" "$lab/sharemond.log" && return 0
    [[ -n $(recorded_pid "$lab/sharemond.pid") ]] || break
    sleep 0.05
  done
  echo "the status service did not start: $(cat "$lab/sharemond.log")" >&2
  return 1
}

start_server() {
  ls /var/log/samba/ 2>/dev/null | sort >"$lab/samba-logs-before" || true
  smbd -F -s "$conf" -l "$lab/log" --debug-stdout -d1 </dev/null >>"$lab/log/smbd.out" 2>&1 &
  record_process $! "$lab/smbd.pid"
  local attempt
  for attempt in $(seq 100); do
    if smbclient -s "$conf" -N //127.0.0.1/public -p "$(cat "$lab/port")" -c exit >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  echo "smbd did not answer" >&2
  return 1
}

# Waits up to TRIES tenths of a second, while the recorded process runs, for its output to hold TEXT.
await_output() {
  local pid_file=$1 out=$2 text=$3 tries=$4 attempt
  for attempt in $(seq "$tries"); do
    grep -qsF -- "$text" "$out" && return 0
    [[ -n $(recorded_pid "$pid_file") ]] || return 1
    sleep 0.1
  done
  return 1
}

open_session() {
  local name=$1 share=$2 user=$3
  shift 3
  local fifo=$lab/$name.fifo out=$lab/$name.out
  local credentials=(-U "$user")
  [[ $user == - ]] && credentials=(-N)
  mkfifo "$fifo"
  exec 3<>"$fifo"
  echo pwd >&3
  PASSWD=pw setsid stdbuf -oL smbclient -s "$conf" "//127.0.0.1/$share" -p "$(cat "$lab/port")" "${credentials[@]}" "$@" \
    <&3 3>&- >"$out" 2>&1 &
  record_process $! "$lab/$name.pid"
  exec 3>&-
  await_output "$lab/$name.pid" "$out" "Current directory" 100 && return 0
  echo "session $name did not connect: $(cat "$out")" >&2
  return 1
}

# smbclient's open keeps the file open until the session ends; it says so once it has.
hold_file() {
  local name=$1 file=$2
  echo "open \"$file\"" 1<>"$lab/$name.fifo"
  await_output "$lab/$name.pid" "$lab/$name.out" "open file \\$file:" 100 && return 0
  echo "session $name did not open $file: $(cat "$lab/$name.out")" >&2
  return 1
}

hold_files() {
  local name=$1 share=$2 count=$3 out=$lab/$1.out directory
  # Made here, so that the guest may open them for writing in a directory of root's.
  directory=$(testparm -s "$conf" --section-name="$share" --parameter-name=path 2>/dev/null)
  (cd "$directory" && seq -f 'held%05g.txt' 0 $((count - 1)) | xargs touch && seq -f 'held%05g.txt' 0 $((count - 1)) | xargs chmod 666)
  setsid /usr/bin/python3 -c '
import os, sys, time, smbc
port, share, count = sys.argv[1:4]
context = smbc.Context(auth_fn=lambda *asked: ("", "", ""))
held = [context.open("smb://127.0.0.1:%s/%s/held%05d.txt" % (port, share, i), os.O_CREAT | os.O_RDWR)
        for i in range(int(count))]
print("held", len(held), flush=True)
while True:
    time.sleep(60)
' "$(cat "$lab/port")" "$share" "$count" </dev/null >"$out" 2>&1 &
  record_process $! "$lab/$name.pid"
  await_output "$lab/$name.pid" "$out" "held $count" 600 && return 0
  echo "client $name did not hold its files: $(cat "$out")" >&2
  return 1
}

logoff_session() {
  local name=$1
  [[ -f $lab/$name.pid ]] || return 0
  echo exit 1<>"$lab/$name.fifo"
}

close_session() {
  local name=$1
  [[ -f $lab/$name.pid ]] || return 0
  logoff_session "$name"
  wait_gone "$lab/$name.pid"
  rm -f "$lab/$name.pid"
}

halt_server() { end_process_of "$lab/smbd.pid"; }

# Samba writes its RPC helper's pid alone: the lab takes it as its own while that pid still
# runs the helper.
adopt_rpc_helper() {
  local pid=
  [[ -f $lab/pid/samba-dcerpcd.pid ]] && read -r pid <"$lab/pid/samba-dcerpcd.pid" || true
  if [[ -n $pid && $(cat "/proc/$pid/comm" 2>/dev/null) == samba-dcerpcd ]]; then
    record_process "$pid" "$lab/samba-dcerpcd.pid"
  fi
}

stop_all() {
  local file
  stop_service
  # The server first (its connection processes go with it), then the clients, which would
  # otherwise wait for the server's answer.
  signal_recorded -TERM "$lab/smbd.pid"
  for file in "$lab"/*.pid; do
    if [[ $file != "$lab/smbd.pid" ]]; then signal_recorded -KILL "$file"; fi
  done
  adopt_rpc_helper
  for file in "$lab"/*.pid; do
    signal_recorded -TERM "$file"
    wait_gone "$file"
  done
  if [[ -f $lab/users ]]; then
    local user
    for user in $(sort -u "$lab/users"); do
      if [[ $(getent passwd "$user" | cut -d: -f5) == "$marker" ]]; then userdel "$user" 2>/dev/null || true; fi
    done
  fi
  if [[ -f $lab/groups ]]; then
    local group
    for group in $(sort -u "$lab/groups"); do
      [[ $group == "$group_prefix"* ]] && groupdel "$group" 2>/dev/null || true
    done
  fi
  # Samba's RPC helpers leave empty logs in the system log directory; remove only new, empty ones.
  if [[ -f $lab/samba-logs-before ]]; then
    for file in $(ls /var/log/samba/ 2>/dev/null | sort | comm -13 "$lab/samba-logs-before" -); do
      [[ -s /var/log/samba/$file ]] || rm -f "/var/log/samba/$file"
    done
  fi
  rm -rf "$lab"
}

case $command in
  start) write_config "$1"; shift; add_users "$@"; start_server ;;
  open) open_session "$@" ;;
  hold) hold_file "$@" ;;
  files) hold_files "$@" ;;
  close) close_session "$@" ;;
  logoff) logoff_session "$@" ;;
  halt) halt_server ;;
  group) add_group "$@" ;;
  service) start_service "$@" ;;
  stop) stop_all ;;
  *) echo "unknown command $command" >&2; exit 2 ;;
esac

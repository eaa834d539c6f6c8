#!/usr/bin/env bash
# The Samba lab ends the processes it started and no other: a pid it recorded that has since
# been given to somebody else's process, and a pid Samba wrote for its helper that now runs
# something else, are left alone.
set -euo pipefail
lab_script=$(cd "$(dirname "${BASH_SOURCE[0]}")/../app" && pwd)/samba_lab.sh
lab=$(mktemp -d)
sleep 60 &
others=$!
sleep 60 &
own=$!
trap 'kill "$others" "$own" 2>/dev/null || true; rm -rf "$lab"' EXIT
mkdir "$lab/pid"
echo "$own $(cut -d' ' -f22 "/proc/$own/stat")" >"$lab/session.pid"
echo "$others 1" >"$lab/smbd.pid"
echo "$others" >"$lab/pid/samba-dcerpcd.pid"

"$lab_script" stop "$lab"

status=0
wait "$own" || status=$?
[[ $status -eq $((128 + 9)) ]] || { echo "the lab's own process was not killed (status $status)"; exit 1; }
kill -0 "$others" 2>/dev/null || { echo "the lab signalled a process it did not start"; exit 1; }
[[ ! -e $lab ]] || { echo "the lab's folder is still there"; exit 1; }
echo "ok"

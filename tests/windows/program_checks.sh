#!/usr/bin/env bash
# How the program starts and installs, checked from outside as a user would, under the tests'
# Wine (tests/windows/wine.sh): one check a run, named by its function below. Prints what it
# saw when the check fails, and exits 1 then. The install checks share a fixture: "installs"
# puts the program and the user's files in place, "uninstalls_and_leaves_the_users_files"
# checks and removes them, so the prefix is left as it was found.
#   program_checks.sh BUILD_DIR CHECK VERSION   (VERSION: the installer's, as CMake names it)
set -euo pipefail
out=$1
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
checks_dir=$out/program-checks/$2
version=$3
installer=$out/sharemon-$version.msi
older_installer=$out/sharemon-0.1.msi
installed=$prefix/drive_c/Program\ Files/sharemon

# Says what differs when `actual` is not `expected`.
same() {
  [[ $1 == "$2" ]] || { printf '%s: expected [%s], got [%s]\n' "$3" "$2" "$1"; return 1; }
}

# wine cmd /c COMMAND in DIRECTORY; its standard output and error without CR in $checks_dir.
prompt() {
  local status=0
  (cd "$1" && in_wine timeout 60 wine cmd /c "$2") >"$checks_dir/out" 2>"$checks_dir/err" || status=$?
  sed -i 's/\r$//' "$checks_dir/out" "$checks_dir/err"
  return $status
}

# Explorer and shortcuts start sharemon.exe without a console; the prompt runs sharemon.com.
subsystems() {
  local exe com
  exe=$(x86_64-w64-mingw32-objdump -p "$out/sharemon.exe" | grep '^Subsystem')
  com=$(x86_64-w64-mingw32-objdump -p "$out/sharemon.com" | grep '^Subsystem')
  [[ $exe == *"(Windows GUI)" && $com == *"(Windows CUI)" ]] || { echo "$exe / $com"; return 1; }
}

# From cmd.exe, by either name and by the bare one, with output and exit codes.
prompt_faces() {
  local program status
  for program in sharemon.exe sharemon.com sharemon; do
    status=0
    prompt "$out" "$program --version" || status=$?
    same "$status $(cat "$checks_dir/out")" "0 sharemon $version" "$program --version" || return 1
    status=0
    prompt "$out" "$program --probe" || status=$?
    same "$status $(cat "$checks_dir/err")" "2 usage: sharemon --probe NAME" "$program --probe" || return 1
  done
  prompt "$out" "sharemon.exe --version > $(windows_path "$checks_dir/version.txt")" &&
    same "$(tr -d '\r' <"$checks_dir/version.txt")" "sharemon $version" "redirected by cmd"
}

# The table file --poll wrote in DIRECTORY (other than list_old.txt), waiting up to 30 s.
new_table_file() {
  local file
  for _ in $(seq 300); do
    file=$(find "$1" -maxdepth 1 -name 'list_*.txt' ! -name list_old.txt | head -n 1)
    [[ -n $file && $(wc -l <"$file") -ge 2 ]] && { echo "$file"; return 0; }
    sleep 0.1
  done
  echo "no table file in $1" >&2
  return 1
}

# Presses Ctrl+C on the keys' pipe (descriptor 3) until the program behind PID says in its
# terminal output (file OUTPUT) that its run stopped, or has ended: at most 3 times, 5 s apart.
# Wine drops now and then (about 1 press in 100 on a loaded machine) a Ctrl+C that comes while
# the program is starting net: none of its handlers runs. A user presses again; a program that
# never stops still fails the check. Once the program has stopped nothing is pressed: a press
# then would reach whatever of the terminal's processes is still ending.
press_ctrl_c_until_stopped() {
  for _ in 1 2 3; do
    printf '\003' >&3
    for _ in $(seq 50); do
      grep -q 'run stopped' "$2" && return 0
      kill -0 "$1" 2>/dev/null || return 0
      sleep 0.1
    done
  done
}

# In a terminal Wine gives the program a console, whose Ctrl+C ends the run, which writes its file.
ctrl_c_ends_poll() {
  local program run status
  for program in sharemon.exe sharemon.com; do
    run=$checks_dir/poll-$program
    mkdir -p "$run"
    printf 'team\r\n' >"$run/splist.txt"
    rm -f "$run/keys"
    mkfifo "$run/keys"
    status=0
    # The terminal's shell gives way to Wine (exec), so that Wine's process alone takes the
    # terminal's signals: a shell left waiting for it would die of a press itself (status 130).
    in_wine env SHAREMON_TEST_INTERVAL_MS=200 SHELL=/bin/sh timeout 60 script -qefc \
      "exec wine '$(windows_path "$out/$program")' --poll --watch '$(windows_path "$run/splist.txt")' --out '$(windows_path "$run")'" \
      /dev/null <"$run/keys" >"$run/terminal.txt" 2>&1 &
    local pid=$!
    exec 3>"$run/keys"
    new_table_file "$run" >/dev/null && press_ctrl_c_until_stopped "$pid" "$run/terminal.txt"
    wait $pid || status=$?
    exec 3>&-
    grep -q 'run stopped' "$run/terminal.txt" || { echo "$program: no stop in"; cat "$run/terminal.txt"; return 1; }
    same "$status" 0 "$program exit status" || return 1
  done
}

msiexec() { in_wine timeout 120 wine msiexec "$1" "$(windows_path "$2")" /qn; }

# DisplayVersion of every sharemon among the installed programs, one a line.
installed_versions() {
  in_wine wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ { name = "" } $1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" && name == "sharemon" { print $3 }'
}

shortcut() { find "$prefix/drive_c" -path '*/Start Menu/Programs/sharemon.lnk' 2>/dev/null; }

# Whatever an interrupted or failed run left installed goes first.
uninstall_leftovers() {
  msiexec /x "$installer" >/dev/null 2>&1 || true
  msiexec /x "$older_installer" >/dev/null 2>&1 || true
  rm -rf "$installed"
}

# Also gives the user a watch list and an older table file in %APPDATA%\sharemon, with copies
# to compare them with.
installs() {
  uninstall_leftovers
  rm -rf "$user_files" "$user_copies"
  mkdir -p "$user_files" "$user_copies"
  printf 'team\r\n' | tee "$user_files/splist.txt" >"$user_copies/splist.txt"
  printf 'Время,team\r\n' | tee "$user_files/list_old.txt" >"$user_copies/list_old.txt"
  msiexec /i "$installer" && [[ -f $installed/sharemon.exe && -f $installed/sharemon.com ]] &&
    same "$(installed_versions)" "$version" "installed versions"
}

# The link's target as Windows stores it, the path of the program.
the_shortcut_points_at_the_program() {
  [[ -n $(shortcut) ]] && strings -a "$(shortcut)" | grep -Fx 'C:\Program Files\sharemon\sharemon.exe' >/dev/null
}

# Started through the shortcut, as from the Start menu, the program polls the watch list the
# user already had in %APPDATA%\sharemon and writes its table file there; from the prompt it
# answers in its folder too.
starts_from_there_and_keeps_its_files_in_appdata() {
  cmp "$user_files/splist.txt" "$user_copies/splist.txt" && cmp "$user_files/list_old.txt" "$user_copies/list_old.txt" &&
    in_wine env SHAREMON_TEST_INTERVAL_MS=200 timeout 60 wine start "$(in_wine winepath -w "$(shortcut)")" --poll &&
    new_table_file "$user_files" && in_wine wineserver -k &&
    [[ -z $(find "$installed" -name '*.txt') ]] &&
    prompt "$installed" "sharemon.exe --version" && same "$(cat "$checks_dir/out")" "sharemon $version" "from there"
}

# Then removes the user's files.
uninstalls_and_leaves_the_users_files() {
  local files status=0
  files=$(ls "$user_files")
  msiexec /x "$installer" && [[ ! -e $installed && -z $(shortcut) ]] && same "$(installed_versions)" "" "installed versions" &&
    cmp "$user_files/splist.txt" "$user_copies/splist.txt" && same "$(ls "$user_files")" "$files" "the user's files" ||
    status=1
  rm -rf "$user_files" "$user_copies"
  return $status
}

upgrades_an_older_version() {
  uninstall_leftovers
  msiexec /i "$older_installer" && same "$(installed_versions)" "0.1" "before the upgrade" &&
    msiexec /i "$installer" && same "$(installed_versions)" "$version" "after the upgrade" &&
    msiexec /x "$installer" && same "$(installed_versions)" "" "after removing"
}

rm -rf "$checks_dir"
mkdir -p "$checks_dir"
user_files=$(in_wine winepath -u "$(in_wine wine cmd /c echo %APPDATA% | tr -d '\r')" 2>/dev/null)/sharemon
user_copies=$out/program-checks/user-files
"$2" || exit 1

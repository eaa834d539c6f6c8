#!/usr/bin/env bash
# The Debian package of a build tree, made by cpack and taken apart again: what it installs,
# its computed dependencies, its control scripts, and whether its units, user entries, menu
# entry and manual pages hold together with the files it carries.
#
#   tests/packaging/package_test.sh BUILD_DIR
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  fail "cpack made no package"
  exit 1
fi
debs=("$work"/out/sharemon_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { fail "not one package: ${debs[*]}"; exit 1; }
deb=${debs[0]}
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -e "$deb" "$work/control"
# The package installs under the prefix the build was configured for.
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:[^=]*=//p' "$build/CMakeCache.txt")
root=$work/root

# The programs, each an executable ELF file where the others look for it.
for program in bin/sharemon bin/netshare sbin/sharemond; do
  file=$root$prefix/$program
  [[ -x $file ]] || { fail "no executable $prefix/$program"; continue; }
  file -b "$file" | grep -q '^ELF' || fail "$program is no ELF program"
done

# The alerting rules where the README says they are, and valid for Prometheus.
rules=$root$prefix/share/sharemon/prometheus/sharemon-rules.yml
[[ -f $rules ]] || fail "no $prefix/share/sharemon/prometheus/sharemon-rules.yml"
if command -v promtool >/dev/null && [[ -f $rules ]]; then promtool check rules "$rules" >/dev/null || fail "promtool rejects the rules"; fi

# Dependencies computed from the programs' libraries, not only the ones written by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6httpserver6; do
  [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] || fail "Depends lacks $library: $depends"
done

# Control scripts: executable, valid shell; every conffile is in the package.
for script in postinst prerm postrm; do
  [[ -x $work/control/$script ]] || fail "$script missing or not executable"
  sh -n "$work/control/$script" || fail "$script is no valid shell"
done
[[ -s $work/control/conffiles ]] || fail "no conffiles"
while IFS= read -r conffile; do
  [[ -f $root$conffile ]] || fail "conffile $conffile not in the package"
done <"$work/control/conffiles"

# Units: every program they start is in the package; systemd finds nothing to object to.
units=("$root$prefix"/lib/systemd/system/*.service)
[[ ${#units[@]} -eq 2 ]] || fail "expected the two units, found: ${units[*]##*/}"
for unit in "${units[@]}"; do
  while read -r program; do
    [[ -x $root$program ]] || fail "${unit##*/} starts $program, which the package lacks"
  done < <(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$unit")
  for needed in $(sed -n 's/^\(Requires\|After\)=//p' "$unit"); do
    [[ $needed == smbd.service || -f $root$prefix/lib/systemd/system/$needed ]] || fail "${unit##*/} needs $needed"
  done
done
# Checked on this machine's systemd, their programs taken from the package where it lies.
if command -v systemd-analyze >/dev/null; then
  mkdir "$work/units"
  for unit in "${units[@]}"; do
    sed "s|^ExecStart=|ExecStart=$root|" "$unit" >"$work/units/${unit##*/}"
  done
  systemd-analyze verify --man=no "$work"/units/*.service >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; fail "systemd-analyze verify"; }
fi

# The user and group the polling unit runs as, from the package's own sysusers entries alone.
if command -v systemd-sysusers >/dev/null && [[ $(id -u) -eq 0 ]]; then
  mkdir -p "$work/users/etc"
  mkdir -p "$work/users$prefix"
  cp -r "$root$prefix/lib" "$work/users$prefix/"
  systemd-sysusers --root="$work/users" >"$work/sysusers.log" 2>&1 || { cat "$work/sysusers.log"; fail "sysusers"; }
  user=$(sed -n 's/^User=//p' "$root$prefix/lib/systemd/system/sharemon-poll.service")
  group=$(sed -n 's/^Group=//p' "$root$prefix/lib/systemd/system/sharemon-poll.service")
  user_gid=$(awk -F: -v u="$user" '$1 == u { print $4 }' "$work/users/etc/passwd")
  group_gid=$(awk -F: -v g="$group" '$1 == g { print $3 }' "$work/users/etc/group")
  [[ -n $user_gid && $user_gid == "$group_gid" ]] || fail "user $user is not in group $group ($user_gid/$group_gid)"
fi

# The menu entry is valid and names a program and an icon the package has.
desktop=$root$prefix/share/applications/sharemon.desktop
desktop-file-validate "$desktop" || fail "desktop entry invalid"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[[ -x $root$prefix/bin/$exec_program ]] || fail "desktop entry runs $exec_program, not in $prefix/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
compgen -G "$root$prefix/share/icons/hicolor/*/apps/$icon.*" >/dev/null || fail "no icon $icon"

# A manual page for each program, made from its help (whose usage lines make the synopsis).
for page in man1/sharemon.1 man1/netshare.1 man8/sharemond.8; do
  file=$root$prefix/share/man/$page.gz
  [[ -f $file ]] || { fail "no manual page $page"; continue; }
  name=${page#*/}
  zcat "$file" | grep -qi "^\\.TH ${name%.*} " || fail "$page has no title line"
  zcat "$file" | grep -q '^\.SH SYNOPSIS' || fail "$page has no synopsis"
done

if ((failures)); then
  echo "package contents:"
  dpkg-deb -c "$deb"
  exit 1
fi
echo "package ${deb##*/} checked"

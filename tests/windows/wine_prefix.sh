#!/usr/bin/env bash
# Makes the tests' Wine prefix and Russian locale (tests/windows/wine.sh) once, and puts the
# stand-in net.exe over the prefix's own and Wine's fonts into it: the fixture every Windows
# test requires, also run by wine_test.sh before a first program needs the prefix. Two at a
# time wait for each other.
#   wine_prefix.sh BUILD_DIR        (build/windows-tests)
set -euo pipefail
out=$1
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
mkdir -p "$wine_dir"
exec 9>"$wine_dir/lock"
flock 9

# Wine takes its ANSI and OEM code pages from the locale, through glibc.
if [[ ! -d $locales/ru_RU.UTF-8 ]]; then
  mkdir -p "$locales"
  localedef -i ru_RU -f UTF-8 "$locales/ru_RU.UTF-8"
fi

if [[ ! -f $wine_dir/prefix-ready ]]; then
  rm -rf "$prefix"
  echo "Making the Wine prefix $prefix"
  # Without the .NET and HTML engines, which it would offer to download.
  in_wine env WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" wineboot -i >"$wine_dir/wineboot.log" 2>&1
  in_wine wineserver -w
  touch "$wine_dir/prefix-ready"
fi
if [[ -f $out/standins/net.exe ]]; then
  cp "$out/standins/net.exe" "$prefix/drive_c/windows/system32/net.exe"
fi
# Debian's Wine never reads its own fonts' folder: the window's "MS Sans Serif" with its
# Cyrillic variant comes from the prefix's.
cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"

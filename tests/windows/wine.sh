# The tests' Wine, sourced by every script that runs a Windows program under it: a private
# prefix and a Russian locale (code pages 1251/866) under build/wine, and the build tree's
# virtual display once wine_display.sh has started it. Expects $out, the build tree
# (build/windows-tests); sets $root, $prefix and $locales and defines in_wine and windows_path.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_dir=$root/build/wine
prefix=$wine_dir/prefix
locales=$wine_dir/locale

# A command in Wine's environment: this prefix and locale, the tests' fonts, quiet, on the
# virtual display when it runs. Wine's own net and netapi32 give way to the stand-ins, a crash
# ends the process instead of waiting in the debugger, and shortcuts stay in the prefix (no
# menu entries for the Linux desktop).
in_wine() {
  local display
  display=$(cat "$out/display.txt" 2>/dev/null || true)
  env -u DISPLAY -u WAYLAND_DISPLAY ${display:+DISPLAY=$display} WINEPREFIX="$prefix" WINEDEBUG=-all \
    WINEDLLOVERRIDES="net.exe=n;netapi32=n,b;winedbg.exe=d;winemenubuilder.exe=d" \
    LOCPATH="$locales" LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 FONTCONFIG_FILE="$out/fonts.conf" "$@"
}

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# Standard input without Windows' CRs and without the note Debian's Wine prints on wine32.
without_wine_notes() {
  tr -d '\r' | grep -v '^it looks like wine32 is missing\|^multiarch needs\|^execute "dpkg\|^apt-get install wine32' || true
}

#!/usr/bin/env bash
# Runs a Windows program under Wine: CMake's cross-compiling emulator for the Windows build.
#   wine-run.sh PROGRAM.exe [ARGS...]
# The Wine prefix is private to the build folder (KYROX_WINEPREFIX overrides it) and is made once.
# Xvfb is started when there is no X display (Direct2D under Wine needs one); the program's exit
# code is passed through; KYROX_WINE_TIMEOUT (seconds, default 600) bounds the run. KYROX_WINE_DPI makes
# the display of a new prefix report that many logical pixels per inch (give such a prefix its own name).
set -euo pipefail

program=${1:?usage: wine-run.sh PROGRAM [ARGS...]}
shift

build_dir=$(cd "$(dirname "$program")" && pwd)
while [ "$build_dir" != / ] && [ ! -f "$build_dir/CMakeCache.txt" ]; do build_dir=$(dirname "$build_dir"); done
[ "$build_dir" != / ] || build_dir=$(cd "$(dirname "$program")" && pwd)

export WINEPREFIX=${KYROX_WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer dialogs: nothing here needs them.
export WINEDLLOVERRIDES="mscoree=;mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
timeout_s=${KYROX_WINE_TIMEOUT:-600}

wine_bin=$(command -v wine64 || command -v wine || true)
[ -n "$wine_bin" ] || { echo "wine-run: wine is not installed" >&2; exit 127; }

# Makes the prefix once; a lock keeps parallel tests from racing to create it.
make_prefix() {
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.kyrox-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine_bin" wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
    # DirectWrite sees only the fontconfig fonts: map the families the toolkit names to DejaVu.
    local reg="$WINEPREFIX/kyrox-fonts.reg"
    {
      printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
      for family in "Verdana" "Segoe UI" "Tahoma" "Arial" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
        printf '"%s"="DejaVu Sans"\r\n' "$family"
      done
      printf '"Courier New"="DejaVu Sans Mono"\r\n'
      printf '"Consolas"="DejaVu Sans Mono"\r\n'
      # No window manager runs on Xvfb: Wine would wait 2 s for one at each hiding of a managed window.
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
      if [ -n "${KYROX_WINE_DPI:-}" ]; then
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$KYROX_WINE_DPI"
      fi
    } >"$reg"
    "$wine_bin" regedit "$reg" >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$WINEPREFIX/.kyrox-ready"
  fi
  flock -u 9
  exec 9>&-
}

run() {
  local rc=0
  timeout --kill-after=10 "$timeout_s" "$wine_bin" "$program" "$@" || rc=$?
  [ $rc -ne 124 ] || echo "wine-run: $program timed out after ${timeout_s}s" >&2
  return $rc
}

make_prefix
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "wine-run: no DISPLAY and xvfb-run is not installed" >&2; exit 127; }
  # Re-enter this script under a private Xvfb server with its own display number.
  KYROX_WINE_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX" "$0" "$program" "$@"
fi
rc=0
run "$@" || rc=$?
if [ -n "${KYROX_WINE_OWN_DISPLAY:-}" ]; then
  # Wine's desktop process stays connected to the display until the Wine server shuts down; wait
  # for that (bounded), so the display does not vanish under it, which it would report as a broken
  # X connection, and under any program of a parallel run that it still serves.
  timeout 60 wineserver -w || true
fi
exit $rc

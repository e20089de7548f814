#!/usr/bin/env bash
# Runs the 7741 Gaming Mouse suite under Wine with the virtual mouse.
#
#   ./run.sh             build, then start the Monitor (on your display, or on Xvfb)
#   ./run.sh --desktop   run it inside a Wine virtual desktop window with a task bar,
#                        so the notification-area icon is visible on any display
#
# The program folder is build/run/GamingMouse7741 (a copy of the staged folder;
# its config\ with your profiles survives rebuilds), the Wine prefix build/run/wineprefix.
# Ctrl-C ends the Monitor and Wine cleanly.
set -u
cd "$(dirname "$0")"
ROOT=$PWD
DESKTOP_MODE=0
for arg in "$@"; do
  case "$arg" in
    --desktop) DESKTOP_MODE=1 ;;
    -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
    *) echo "run.sh: unknown option $arg (see ./run.sh --help)" >&2; exit 2 ;;
  esac
done

. tools/setup/ensure-deps.sh
. tools/setup/x-session.sh  # gm_stop_wineserver

say() { printf '== %s\n' "$*"; }

gm_ensure_deps || { echo "run.sh: cannot install the build dependencies" >&2; exit 1; }

BUILD=$ROOT/build/win
say "building the Windows programs (build/win)"
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null \
    || { echo "run.sh: configuring the Windows tree failed" >&2; exit 1; }
fi
cmake --build "$BUILD" -j 2 --target stage || { echo "run.sh: the build failed" >&2; exit 1; }

RUN=$ROOT/build/run
FOLDER=$RUN/GamingMouse7741
export WINEPREFIX=$RUN/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=$(command -v wine)

# The programs are refreshed from the build; the profiles in config\ are the user's.
mkdir -p "$FOLDER/config"
for item in "$BUILD"/stage/*; do
  name=$(basename "$item")
  [ "$name" = config ] && continue
  rm -rf "${FOLDER:?}/$name"
  cp -r "$item" "$FOLDER/$name"
done

# Xvfb in a session of its own: Ctrl-C in this terminal must not take the X
# server away from the Monitor before it has closed the mouse.
XVFB_PID=""
start_own_xvfb() {
  local n=97
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

XVFB_NOTE=""
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  say "using your display $DISPLAY"
else
  start_own_xvfb || { echo "run.sh: no display and Xvfb did not start" >&2; exit 1; }
  XVFB_NOTE="no display found: running on Xvfb $DISPLAY (nothing is visible; drive it with the commands below)"
  say "$XVFB_NOTE"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  say "first start of the Wine prefix build/run/wineprefix (takes a while once)"
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1
  wineserver -w
fi

MONITOR_PID=""
cleanup() {
  trap - INT TERM EXIT
  echo
  say "stopping the Monitor and Wine"
  if [ -n "$MONITOR_PID" ] && kill -0 "$MONITOR_PID" 2>/dev/null; then
    # taskkill without /f asks the Monitor's window to close: it finishes a
    # download, closes the mouse and removes its icon.
    if [ "$DESKTOP_MODE" = 1 ]; then
      "$WINE" explorer /desktop=GamingMouse7741 taskkill /im Monitor.exe >/dev/null 2>&1
    else
      "$WINE" taskkill /im Monitor.exe >/dev/null 2>&1
    fi
    for _ in $(seq 1 50); do kill -0 "$MONITOR_PID" 2>/dev/null || break; sleep 0.1; done
  fi
  gm_stop_wineserver "$WINEPREFIX"
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
  exit 0
}
trap cleanup INT TERM EXIT

cd "$FOLDER"
if [ -z "$("$WINE" gmconfig.exe list 2>/dev/null | tr -d '\r')" ]; then
  say "the store is empty: creating a first profile"
  "$WINE" gmconfig.exe new >/dev/null || { echo "run.sh: gmconfig could not create a profile" >&2; exit 1; }
fi

say "starting Monitor.exe"
# In a session of its own, so that Ctrl-C reaches this script only and the
# Monitor is closed the orderly way below.
if [ "$DESKTOP_MODE" = 1 ]; then
  setsid "$WINE" explorer /desktop=GamingMouse7741,1024x768 Monitor.exe &
else
  setsid "$WINE" Monitor.exe &
fi
MONITOR_PID=$!

# Open the configuration window the way a user does: a second start of the
# Monitor with "1" asks the running one to open Option (the icon menu's
# "open" item does the same in --desktop mode).
sleep 2
if [ "$DESKTOP_MODE" = 1 ]; then
  "$WINE" explorer /desktop=GamingMouse7741 Monitor.exe 1 >/dev/null 2>&1 &
else
  "$WINE" Monitor.exe 1 >/dev/null 2>&1 &
fi
OPTION_NOTE="Option, the configuration window, opens now. Its close button ends Option and the
Monitor together; the icon menu's \"open\" item (or Monitor.exe 1) opens it again.
"
if [ "$DESKTOP_MODE" = 1 ]; then
  # Windows are found per desktop: the helpers must run on the Monitor's.
  PREFIX_CMD="cd '$FOLDER' && WINEPREFIX='$WINEPREFIX' DISPLAY=$DISPLAY wine explorer /desktop=GamingMouse7741"
else
  PREFIX_CMD="cd '$FOLDER' && WINEPREFIX='$WINEPREFIX' DISPLAY=$DISPLAY wine"
fi
cat <<EOF

The Monitor is running with the virtual mouse. In another terminal:

  Change the current profile (gmconfig saves and asks the Monitor to apply at once):
    $PREFIX_CMD gmconfig.exe show
    $PREFIX_CMD gmconfig.exe set CpiStep=3 PollingRate=1
    $PREFIX_CMD gmconfig.exe button 4 media 31
    $PREFIX_CMD gmconfig.exe reports --full      (what the Monitor sends for the profile)

  Press the virtual mouse's own buttons, or unplug and plug it:
    $PREFIX_CMD mousesim.exe dpi-button 2
    $PREFIX_CMD mousesim.exe rate-button 8
    $PREFIX_CMD mousesim.exe unplug
    $PREFIX_CMD mousesim.exe plug
    $PREFIX_CMD mousesim.exe state

  What the virtual mouse received:
    trace (one line per call, with milliseconds): $FOLDER/devio-trace.txt
    state (the emulated profile slot):             $FOLDER/devio-state.ini
    profiles:                                      $FOLDER/config/Config.data

${OPTION_NOTE}${XVFB_NOTE:+
$XVFB_NOTE
}
Press Ctrl-C to stop.
EOF

wait "$MONITOR_PID"
say "the Monitor ended"

#!/usr/bin/env bash
# Runs a Windows test program under Wine on the current display, or on an Xvfb
# of its own when there is none (top-level windows need one).
# Usage: with-display.sh WINE_RUN PROGRAM [ARGS...]
set -u
root="$(cd "$(dirname "$0")/../../.." && pwd)"
. "$root/tools/setup/x-session.sh"
own=0
if [ -z "${DISPLAY:-}" ]; then
  gm_start_xvfb || exit 1
  own=1
fi
"$@"
rc=$?
if [ $own -eq 1 ]; then
  # Wine's desktop process holds the display; end it with the display.
  gm_stop_wineserver "${GM_WINEPREFIX:-$(dirname "$1")/wineprefix}"
  gm_stop_xvfb
fi
exit $rc

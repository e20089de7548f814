#!/usr/bin/env bash
# run-with-display.sh WINEPREFIX COMMAND...
# Runs a Wine test that creates windows. Uses the caller's X display when it
# works (test.sh provides one); otherwise starts an Xvfb of its own and stops it
# again once the prefix's Wine processes, which talk to it, have ended.
set -u
prefix=$1
shift
. "$(cd "$(dirname "$0")" && pwd)/../../../tools/setup/x-session.sh"
gm_start_xvfb || exit 1
"$@"
rc=$?
if [ -n "$gm_xvfb_pid" ]; then
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
  gm_stop_xvfb
fi
exit $rc

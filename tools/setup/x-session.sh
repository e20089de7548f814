#!/usr/bin/env bash
# Starts (or reuses) an X display for Wine and the end-to-end tests, and stops
# everything the session started. Sourced by test.sh and run.sh.

gm_xvfb_pid=""

# gm_start_xvfb [DISPLAY]: starts Xvfb on a free display unless DISPLAY already
# works. Exports DISPLAY.
gm_start_xvfb() {
  local want="${1:-}"
  if [ -z "$want" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n=${want#:}
  if [ -z "$n" ]; then
    n=97
    while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  fi
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
  gm_xvfb_pid=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

gm_stop_xvfb() {
  if [ -n "$gm_xvfb_pid" ]; then
    kill "$gm_xvfb_pid" 2>/dev/null
    wait "$gm_xvfb_pid" 2>/dev/null
    gm_xvfb_pid=""
  fi
}

# gm_stop_wineserver PREFIX: ends every Wine process of that prefix.
gm_stop_wineserver() {
  local prefix="$1"
  if [ -d "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
  fi
}

#!/usr/bin/env bash
# Installs, on a Debian 12 machine, whatever the build and the tests need and is
# not there yet. Sourced by test.sh and run.sh; a second run installs nothing.
gm_required_packages=(
  cmake ninja-build g++ googletest
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth xdotool x11-utils x11-apps imagemagick
  nsis
  clang libclang-rt-14-dev
  python3 python3-pil
  fonts-liberation fonts-wine
)

gm_ensure_deps() {
  local missing=()
  local p
  for p in "${gm_required_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "== installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

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
  locales
  fonts-liberation fonts-wine
)

gm_ensure_deps() {
  local missing=()
  local p
  for p in "${gm_required_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  if [ ${#missing[@]} -ne 0 ]; then
    echo "== installing: ${missing[*]}"
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
  fi
  gm_ensure_locales "$sudo"
}

# Wine takes the user's display language from the Unix locale, and only from
# one that is installed: the language tests run with a German and a Japanese one.
# Without them only those tests fail, so a failure here stops nothing else.
gm_ensure_locales() {
  local sudo=$1 name
  for name in de_DE ja_JP; do
    locale -a 2>/dev/null | grep -qix "${name}.utf-\?8" && continue
    echo "== generating the locale ${name}.UTF-8"
    $sudo localedef -i "$name" -f UTF-8 "${name}.UTF-8" ||
      echo "!! the locale ${name}.UTF-8 could not be generated: the language tests will fail" >&2
  done
  return 0
}

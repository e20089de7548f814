#!/bin/sh
# The long soak: Option, the Monitor and the virtual mouse under seeded random
# input, SEEDS seeds of ACTIONS actions each, on the Windows build tree.
#
#   bench/soak/run.sh [SEEDS [ACTIONS]]        (defaults: 10 seeds, 200 actions)
#   BUILD_DIR=build/win SOAK_FIRST_SEED=1000 bench/soak/run.sh 5 100
#
# Seeds are SOAK_FIRST_SEED, SOAK_FIRST_SEED+1, ... (a new first seed by default).
# Prints each seed's result, each failure with its seed, the actions that led to
# it and the command that plays them again, then the number of actions and checks.
# Exit status: 0 when every seed passed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seeds=${1:-10}
actions=${2:-200}
build=${BUILD_DIR:-$root/build/win}
first=${SOAK_FIRST_SEED:-$(od -An -N3 -tu4 /dev/urandom | tr -d ' ')}
[ -f "$build/stage/Monitor.exe" ] || {
    echo "soak: no staged programs in $build/stage (build the win tree first)" >&2
    exit 2
}
set --
i=0
while [ "$i" -lt "$seeds" ]; do
    set -- "$@" --seed $((first + i))
    i=$((i + 1))
done
exec env DISPLAY= /usr/bin/python3 "$root/tests/e2e/soak/soak_e2e.py" --build-dir "$build" \
    --actions "$actions" "$@"

#!/bin/sh
# The long soak: Option, the Monitor and the virtual mouse under seeded random
# input, SEEDS seeds of ACTIONS actions each, on the Windows build tree.
#
#   bench/soak/run.sh [SEEDS [ACTIONS]]        (defaults: 10 seeds, 200 actions)
#   BUILD_DIR=build/win SOAK_FIRST_SEED=1000 SOAK_JOBS=3 bench/soak/run.sh 6 300
#
# Seeds are SOAK_FIRST_SEED, SOAK_FIRST_SEED+1, ... (a new first seed by default).
# SOAK_JOBS runs (default 1) play the seeds side by side, each on its own Xvfb
# and Wine prefix: an action mostly waits for the programs to settle, so two or
# three runs share a 2-core machine well.
# Prints each seed's result, each failure with its seed, the actions that led to
# it and the command that plays them again, then the number of actions, checks
# and failures over all runs. Exit status: 0 when every seed passed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seeds=${1:-10}
actions=${2:-200}
jobs=${SOAK_JOBS:-1}
build=${BUILD_DIR:-$root/build/win}
first=${SOAK_FIRST_SEED:-$(od -An -N3 -tu4 /dev/urandom | tr -d ' ')}
[ -f "$build/stage/Monitor.exe" ] || {
    echo "soak: no staged programs in $build/stage (build the win tree first)" >&2
    exit 2
}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
job=0
while [ "$job" -lt "$jobs" ]; do
    set --
    i=$job
    while [ "$i" -lt "$seeds" ]; do
        set -- "$@" --seed $((first + i))
        i=$((i + jobs))
    done
    if [ $# -gt 0 ]; then
        # Each run's lines go to the screen as they come, and to its log for the sum.
        (env DISPLAY= GM_E2E_INSTANCE="soak$job" /usr/bin/python3 "$root/tests/e2e/soak/soak_e2e.py" \
            --build-dir "$build" --actions "$actions" "$@" 2>&1; echo "soak: exit $?") |
            tee "$logs/$job.log" | sed "s/^/[$job] /" &
    fi
    job=$((job + 1))
done
wait
cat "$logs"/*.log | awk '
    /^soak: [0-9]+ actions, [0-9]+ checks, [0-9]+ failures/ { a += $2; c += $4; f += $6; runs++ }
    /^soak: exit / { if ($3 != 0) bad++ }
    END {
        printf "soak: all runs: %d actions, %d checks, %d failures\n", a, c, f
        exit (bad || f || !runs) ? 1 : 0
    }'

#!/bin/sh
# A long run of the state-machine test: Option, the Monitor and the virtual
# mouse on one store, many seeds, many steps each.
#
#   bench/statemachine/run.sh [SEEDS] [STEPS] [TREE]
#
# SEEDS: "1-500" or "3,17,42" (default 1-200); STEPS per seed (default 5000);
# TREE: the build tree holding the test (default build/native; build/asan
# runs it under the sanitizers). Prints the steps run and each failing
# seed with the steps that led to it.
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
seeds=${1:-${GM_STATEMACHINE_SEEDS:-1-200}}
steps=${2:-${GM_STATEMACHINE_STEPS:-5000}}
tree=${3:-$here/build/native}
binary=$(find "$tree" -name statemachine_tests -type f -perm -u+x | head -n 1)
if [ -z "$binary" ]; then
    echo "statemachine_tests not built in $tree (/tmp/gm/build.sh or cmake --build $tree)" >&2
    exit 2
fi
GM_STATEMACHINE_SEEDS=$seeds GM_STATEMACHINE_STEPS=$steps "$binary" --gtest_brief=1

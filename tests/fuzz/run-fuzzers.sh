#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build tree for a share of the given time,
# starting from the committed seed corpus. Fails on the first crash.
#   tests/fuzz/run-fuzzers.sh BUILD_DIR SECONDS
set -u
build=${1:?build dir}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
targets=$(find "$build/tests/fuzz" -maxdepth 2 -type f -name 'fuzz_*' -perm -u+x | sort)
count=$(echo "$targets" | grep -c . || true)
if [ "$count" -eq 0 ]; then
  echo "no fuzz targets in $build" >&2
  exit 1
fi
share=$(( seconds / count ))
[ "$share" -lt 1 ] && share=1
status=0
for t in $targets; do
  name=$(basename "$t")
  area=$(basename "$(dirname "$t")")
  seeds="$here/$area/corpus/${name#fuzz_}"
  work="$build/fuzz-corpus/$name"
  mkdir -p "$work" "$build/fuzz-artifacts"
  echo "-- $name for ${share}s"
  if ! "$t" -max_total_time="$share" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/fuzz-artifacts/$name-" -print_final_stats=0 \
        "$work" "$seeds" > "$build/$name.log" 2>&1; then
    echo "!! $name found a failure:"
    tail -n 40 "$build/$name.log"
    status=1
  else
    grep -E '^(#[0-9]+ *DONE|Done)' "$build/$name.log" | tail -n 1
  fi
done
exit $status

#!/usr/bin/env bash
# Runs fuzz targets from build-fuzz for SECONDS each, JOBS at a time (default
# 600 s, 2), starting from the seed corpus in fuzz/corpus/<name>. Inputs found
# go to build-fuzz/corpus/<name>, crashing inputs to build-fuzz/artifacts/<name>/,
# the output to build-fuzz/logs/<name>.log.
#   fuzz/run.sh [-t SECONDS] [-j JOBS] png jpeg mp3 defaults layout script
set -u
seconds=600
jobs=2
while getopts "t:j:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    j) jobs=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

run() {
  local name=$1
  mkdir -p "$build/corpus/$name" "$build/artifacts/$name" "$build/logs"
  "$build/fuzz_$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$name/" "$build/corpus/$name" "$root/fuzz/corpus/$name" \
    >"$build/logs/$name.log" 2>&1
  echo "fuzz_$name: exit $?, $(grep -E '^stat::number_of_executed_units' "$build/logs/$name.log")"
}

for name in "$@"; do
  while (($(jobs -rp | wc -l) >= jobs)); do wait -n; done
  run "$name" &
done
wait

#!/usr/bin/env bash
# Runs fuzz targets from build-fuzz for SECONDS each, JOBS at a time (default
# 600 s, 2), starting from the seed corpus in fuzz/corpus/<name>. Inputs found
# go to build-fuzz/corpus/<name>, crashing inputs to build-fuzz/artifacts/<name>/,
# the output to build-fuzz/logs/<name>.log. Prints each target's executions,
# coverage and peak memory.
#   fuzz/run.sh [-t SECONDS] [-j JOBS] png jpeg mp3 defaults layout script book
#
# Memory is held to what the readers promise: no picture over 16 MiB decoded
# (its texture at most twice that), no texture file inflating past 32 MiB, no
# recording file over 50.5 MiB. An input that makes one block of more than
# 128 MB, or the whole process hold more than 512 MB, is a finding.
set -u
seconds=600
jobs=2
rss_limit_mb=512
malloc_limit_mb=128
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

# A figure from libFuzzer's closing statistics.
final_stat() { sed -n "s/^stat::$2: *//p" "$1" | tail -1; }

run() {
  local name=$1
  mkdir -p "$build/corpus/$name" "$build/artifacts/$name" "$build/logs"
  local log=$build/logs/$name.log
  "$build/fuzz_$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -rss_limit_mb=$rss_limit_mb -malloc_limit_mb=$malloc_limit_mb \
    -artifact_prefix="$build/artifacts/$name/" "$build/corpus/$name" "$root/fuzz/corpus/$name" \
    >"$log" 2>&1
  local status=$?
  local coverage
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
  echo "fuzz_$name: exit $status, $(final_stat "$log" number_of_executed_units) runs," \
    "$coverage, peak $(final_stat "$log" peak_rss_mb) MB"
}

for name in "$@"; do
  while (($(jobs -rp | wc -l) >= jobs)); do wait -n; done
  run "$name" &
done
wait

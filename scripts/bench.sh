#!/usr/bin/env bash
# Runs the benchmarks (bench/) and writes a report into a folder: bench.json (the raw
# results), report.md (the tables with their ratios and limits) and bench.png (cost per shipped
# description beside the third-party module, and cost against equaliser passes and graph
# nodes). The machines are shared and noisy, so every benchmark runs several times and the
# report takes the medians of CPU time; the targets are ratios measured in the same run.
#
# Usage: scripts/bench.sh [OUTPUT_FOLDER]   (default: bench-results/UTC-DATE-TIME)
# Environment: TORVIX_BUILD_DIR (default: build), BENCH_REPETITIONS (default: 3),
# BENCH_MIN_TIME in seconds (default: 0.2), BENCH_FILTER (default: all).
# Needs python3 and gnuplot (scripts/install-deps.sh); compares with SoulForce when Debian's
# dpf-plugins-vst is installed, and says so in the report when it is not. The aliasing
# table and the cost of Guitarix's Muff (lv2bench) come from scripts/bench-aliasing.sh; with
# BENCH_INSTALL=1 this script first installs the third-party effects it compares with
# (scripts/install-deps.sh --bench-peers: guitarix-lv2, zam-plugins, dpf-plugins-vst,
# lilv-utils).
set -euo pipefail

repoRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly repoRoot
readonly buildDir=${TORVIX_BUILD_DIR:-$repoRoot/build}
readonly output=${1:-$repoRoot/bench-results/$(date -u +%Y%m%d-%H%M%S)}

if [ ! -f "$buildDir/CMakeCache.txt" ]; then
  cmake -S "$repoRoot" -B "$buildDir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
if [ "${BENCH_INSTALL:-0}" = 1 ]; then
  "$repoRoot/scripts/install-deps.sh" --bench-peers
fi
cmake --build "$buildDir" -j 2 --target torvix_bench torvix-aliasing
mkdir -p "$output"
"$buildDir/bench/torvix_bench" \
  --benchmark_filter="${BENCH_FILTER:-.}" \
  --benchmark_repetitions="${BENCH_REPETITIONS:-3}" \
  --benchmark_report_aggregates_only=true \
  --benchmark_min_time="${BENCH_MIN_TIME:-0.2}" \
  --benchmark_out="$output/bench.json" --benchmark_out_format=json
"$repoRoot/scripts/bench-aliasing.sh" "$buildDir" "$output"
python3 "$repoRoot/scripts/bench-report.py" "$output/bench.json" "$output"
gnuplot "$output/bench.gp"
echo "bench: report in $output/report.md, plot in $output/bench.png"

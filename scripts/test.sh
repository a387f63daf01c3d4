#!/usr/bin/env bash
# The whole test suite, as CI runs it. Installs what it needs first, then runs
# these stages in order, stopping at the first that fails:
#
#   native   the release build, every test, and the LV2 bundle through
#            Debian's LV2 hosts (scripts/test-lv2-hosts.sh)
#   asan     every test under AddressSanitizer (with leak checks) and
#            UndefinedBehaviorSanitizer
#   tsan     the concurrency tests under ThreadSanitizer
#   fuzz     the libFuzzer build (clang), each target for 60 seconds over
#            its committed corpus
#   windows  the 32- and 64-bit Windows builds with their tests under wine
#
# Usage: scripts/test.sh [--native-only | STAGE...]   (no argument: all)
# Each stage builds in a directory of its own under build/ (windows: at
# build-windows-TRIPLET/), so a second run only builds what changed.
set -euo pipefail

repoRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly repoRoot
cd "$repoRoot"

readonly allStages=(native asan tsan fuzz windows)
readonly jobs=$(nproc)
readonly fuzzSeconds=${TORVIX_FUZZ_SECONDS:-60}

log() { echo "test: $*"; }
fail() {
  echo "test: FAILED: $*" >&2
  exit 1
}

# Every report of a sanitizer ends the test that caused it with a failure.
export ASAN_OPTIONS=detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

stageNative() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j "$jobs"
  ctest --test-dir build --output-on-failure -j "$jobs"
  scripts/test-lv2-hosts.sh build
}

# Sanitizer runs are several times slower; the timeout leaves them room.
stageAsan() {
  cmake --preset asan
  cmake --build --preset asan -j "$jobs"
  ctest --preset asan -j "$jobs" --timeout 1200
}

# Only the test programs that start threads are built and run.
stageTsan() {
  cmake --preset tsan
  cmake --build --preset tsan -j "$jobs" --target torvix_concurrency_tests
  ctest --preset tsan -j "$jobs" --timeout 1200 -L concurrency
}

readonly fuzzBuild=build/fuzz

# runFuzzer NAME: NAME_fuzz for fuzzSeconds over fuzz/corpus/NAME. New inputs
# go to a working corpus in the build; a crash leaves its input there too.
runFuzzer() {
  local name=$1 work=$fuzzBuild/runs/$1 options=()
  rm -rf "$work" && mkdir -p "$work/corpus" "$work/crashes"
  [[ -f fuzz/$name.dict ]] && options+=("-dict=fuzz/$name.dict")
  if "$fuzzBuild/fuzz/${name}_fuzz" "${options[@]}" -max_total_time="$fuzzSeconds" -timeout=30 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/crashes/" \
    "$work/corpus" "fuzz/corpus/$name" >"$work/log" 2>&1; then
    log "fuzz $name: $(grep -m1 'stat::number_of_executed_units' "$work/log" | awk '{print $2}') runs, no fault"
  else
    tail -n 60 "$work/log" >&2
    echo "test: fuzz $name failed; the input is in $work/crashes" >&2
    return 1
  fi
}

fuzzTargets() { find fuzz/corpus -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort; }

# The whole fuzz build (it checks clang's warnings on everything it builds);
# the targets then run side by side, all at once, sharing the cores.
stageFuzz() {
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$jobs"
  export -f runFuzzer log
  export fuzzBuild fuzzSeconds
  fuzzTargets | xargs -P 0 -I{} bash -c 'runFuzzer {}' || fail "a fuzz target found a fault"
}

stageWindows() {
  scripts/test-windows.sh i686-w64-mingw32
  scripts/test-windows.sh x86_64-w64-mingw32
}

runStage() {
  local stage=$1 start=$SECONDS
  log "stage $stage"
  case $stage in
    native) stageNative ;;
    asan) stageAsan ;;
    tsan) stageTsan ;;
    fuzz) stageFuzz ;;
    windows) stageWindows ;;
    *) fail "unknown stage $stage (stages: ${allStages[*]})" ;;
  esac
  log "stage $stage passed in $((SECONDS - start)) s"
}

main() {
  local stages=("$@")
  [[ ${#stages[@]} -eq 0 ]] && stages=("${allStages[@]}")
  [[ ${stages[*]} == --native-only ]] && stages=(native)
  scripts/install-deps.sh
  local stage
  for stage in "${stages[@]}"; do runStage "$stage"; done
  log "all stages passed (${stages[*]}) in $SECONDS s"
}

main "$@"

#!/usr/bin/env bash
# Cross-builds the project for Windows, runs the test suite under wine on a
# virtual X server (for the window tests) and checks every plug-in module
# built: its PE format, its export table (exactly VSTPluginMain and main, the
# same function) and that it needs no runtime DLL of the compiler beside it.
#
# Usage: scripts/test-windows.sh [i686-w64-mingw32|x86_64-w64-mingw32]
# The build goes to build-windows-TRIPLET at the repository root; the
# third-party libraries to TORVIX_DEPS_PREFIX (default: its deps/ folder).
set -euo pipefail

readonly triplet=${1:-i686-w64-mingw32}
case $triplet in
  i686-w64-mingw32) readonly peFormat="PE32 executable (DLL)" machine="Intel 80386" ;;
  x86_64-w64-mingw32) readonly peFormat="PE32+ executable (DLL)" machine="x86-64" ;;
  *)
    echo "usage: $0 [i686-w64-mingw32|x86_64-w64-mingw32]" >&2
    exit 2
    ;;
esac
repoRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly repoRoot
readonly buildDir=$repoRoot/build-windows-$triplet
readonly depsPrefix=${TORVIX_DEPS_PREFIX:-$buildDir/deps}
readonly winePrefix=$buildDir/wineprefix
readonly wineRun=$repoRoot/cmake/wine-run.sh
readonly objdump=$triplet-objdump

log() { echo "test-windows: $*"; }
fail() {
  echo "test-windows: FAILED: $*" >&2
  exit 1
}

# The first start of a wine prefix takes tens of seconds; it runs while the
# build does.
startWinePrefix() {
  mkdir -p "$buildDir"
  "$wineRun" "$winePrefix" wineboot -i >"$buildDir/wineboot.log" 2>&1 &
  wineBootPid=$!
}

waitForWinePrefix() {
  wait "$wineBootPid" || fail "wineboot could not set up $winePrefix (see $buildDir/wineboot.log)"
}

stopWineServer() {
  WINEPREFIX=$winePrefix wineserver -w 2>/dev/null || true
}

# Extra arguments go to the configuration.
configureAndBuild() {
  cmake -S "$repoRoot" -B "$buildDir" \
    -DCMAKE_TOOLCHAIN_FILE="$repoRoot/cmake/toolchain-$triplet.cmake" \
    -DTORVIX_DEPS_PREFIX="$depsPrefix" -DTORVIX_BUILD_BENCH=OFF "$@"
  cmake --build "$buildDir" -j "$(nproc)"
}

# On a virtual X server of its own, so that wine can make windows and the
# GDI window tests run (with DISPLAY set they fail rather than skip).
runTests() {
  bash "$repoRoot/scripts/run-under-xvfb.sh" \
    ctest --test-dir "$buildDir" --output-on-failure --timeout 900 -j "$(nproc)"
}

# Prints the project's built files matching NAME patterns (find -name
# arguments), leaving out wine's prefix, the libraries and CMake's probes.
builtFiles() {
  find "$buildDir" \( -path "$winePrefix" -o -path "$depsPrefix" -o -name CMakeFiles \) -prune \
    -o -type f \( "$@" \) -print
}

# Every DLL the project builds is a plug-in module (libraries link statically).
builtModules() { builtFiles -name '*.dll'; }
builtPrograms() { builtFiles -name '*.dll' -o -name '*.exe'; }

# Prints "NAME RVA" for each exported name of a PE file.
exportedFunctions() {
  "$objdump" -p "$1" | awk '
    /^Export Address Table -- Ordinal Base/ { table = "address"; next }
    /^\[Ordinal\/Name Pointer\] Table/ { table = "names"; next }
    /^$/ { table = "" }
    table == "address" && /Export RVA/ { gsub(/[][]/, " "); rva[$1] = $4 }
    table == "names" { gsub(/[][]/, " "); print $2, rva[$1] }'
}

checkModule() {
  local module=$1 description exports
  description=$(file -b "$module")
  [[ $description == *"$peFormat"*"$machine"* ]] || fail "$module is not a $triplet DLL: $description"
  exports=$(exportedFunctions "$module" | LC_ALL=C sort)
  [[ $(awk '{print $1}' <<<"$exports" | tr '\n' ' ') == "VSTPluginMain main " ]] ||
    fail "$module must export exactly VSTPluginMain and main, exports: $(tr '\n' ' ' <<<"$exports")"
  [[ $(awk '{print $2}' <<<"$exports" | sort -u | wc -l) -eq 1 ]] ||
    fail "$module: main is not the same function as VSTPluginMain"
  log "module ok: ${module#"$buildDir"/} ($description)"
}

# Nothing built may need the compiler's runtime DLLs or zlib's DLL at run time.
checkStaticRuntime() {
  local program=$1 imports
  imports=$("$objdump" -p "$program" | awk '/DLL Name:/ {print $3}')
  if grep -Eiq '^(libgcc|libstdc\+\+|libwinpthread|zlib)' <<<"$imports"; then
    fail "$program needs runtime DLLs: $(tr '\n' ' ' <<<"$imports")"
  fi
}

checkBinaries() {
  local module program count=0
  while IFS= read -r module; do
    checkModule "$module"
    count=$((count + 1))
  done < <(builtModules)
  [[ $count -gt 0 ]] || fail "no plug-in module was built"
  while IFS= read -r program; do
    checkStaticRuntime "$program"
  done < <(builtPrograms)
  log "$count module(s) checked; no program needs runtime DLLs"
}

# 32-bit Windows programs need Debian's i386 wine, which the set-up installs
# when the machine's package indices allow it.
wineRunsThisBuild() {
  [[ $triplet != i686-* ]] || dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}

main() {
  bash "$repoRoot/cmake/setup-windows-deps.sh" "$triplet" "$depsPrefix"
  if ! wineRunsThisBuild; then
    # Without wine the build's own packer cannot run: the native build's packs the archive.
    local nativePack=$repoRoot/build/torvix-pack
    [[ -x $nativePack ]] || fail "without wine32 the $triplet build needs the native build's torvix-pack ($nativePack): run the native stage first"
    configureAndBuild -DTORVIX_NATIVE_PACK="$nativePack"
    checkBinaries
    log "SKIPPED: the $triplet tests under wine: wine32:i386 could not be installed (see the set-up's log above); the build and its modules were checked"
    return
  fi
  startWinePrefix
  trap stopWineServer EXIT
  configureAndBuild
  waitForWinePrefix
  runTests
  checkBinaries
  log "$triplet build and tests passed"
}

main

#!/usr/bin/env bash
# The whole test suite: the native build and its tests, then the Windows
# builds with their tests under wine. Installs what it needs first.
#
# Usage: scripts/test.sh [--native-only]
set -euo pipefail

repoRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repoRoot"

"$repoRoot/scripts/install-deps.sh"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure -j "$(nproc)"

if [ "${1:-}" != "--native-only" ]; then
  "$repoRoot/scripts/test-windows.sh" i686-w64-mingw32
  "$repoRoot/scripts/test-windows.sh" x86_64-w64-mingw32
fi

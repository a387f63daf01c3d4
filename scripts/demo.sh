#!/usr/bin/env bash
# The main job: installs what the build needs, builds the plug-in, and
# renders a synthesised guitar riff through every shipped sound, writing one
# audio file and one plot per sound, plus a picture of the editor, into
# OUTDIR (default: demo/).
#
# Usage: scripts/demo.sh [OUTDIR]
set -euo pipefail

repoRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
outDir=$(realpath -m "${1:-demo}")
cd "$repoRoot"

"$repoRoot/scripts/install-deps.sh"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target torvix_distortion torvix-render
build/torvix-render --demo "$outDir"

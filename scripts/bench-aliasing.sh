#!/usr/bin/env bash
# The aliasing table of the benchmark report and the third-party cost beside it, written
# into a folder: aliasing.tsv (sound, rate, tone, off-harmonic dB, harmonics 1 to 5 in dBFS)
# for every shipped sound and, where installed, Guitarix's DS-1, Muff and Fuzz Face
# (guitarix-lv2, run through lv2apply), SoulForce (dpf-plugins-vst) and ZamTube (zam-plugins),
# both VST modules hosted as our module is (ZamTube's LV2 form needs a feature lv2apply lacks);
# lv2bench.txt with lv2bench's seconds for Guitarix's Muff.
# A -12 dBFS sine on a bin of a 65,536-point spectrum, one second of settling, at 1 and
# 2.5 kHz and 44.1, 48 and 96 kHz: the measurement torvix-render --analyse draws.
#
# Usage: scripts/bench-aliasing.sh BUILD_DIR OUTPUT_FOLDER
set -euo pipefail

readonly buildDir=$1
readonly output=$2
readonly rates=(44100 48000 96000)
readonly tones=(1000 2500)
readonly muff='http://guitarix.sourceforge.net/plugins/gx_muff_#_muff_'
readonly lv2Effects=(
  "Guitarix DS-1|http://guitarix.sourceforge.net/plugins/gx_bossds1_#_bossds1_"
  "Guitarix Muff|$muff"
  "Guitarix Fuzz Face|http://guitarix.sourceforge.net/plugins/gx_fuzzface_#_fuzzface_"
)
readonly vstEffects=("SoulForce|/usr/lib/vst/SoulForce-vst.so" "ZamTube|/usr/lib/vst/ZamTube-vst.so")

measure="$buildDir/torvix-aliasing"
mkdir -p "$output"
rateList=$(IFS=,; echo "${rates[*]}")
toneList=$(IFS=,; echo "${tones[*]}")
"$measure" --rates "$rateList" --hertz "$toneList" > "$output/aliasing.tsv"

for effect in "${vstEffects[@]}"; do
  label=${effect%%|*}
  module=${effect#*|}
  [ -f "$module" ] || continue
  "$measure" --module "$module" --rates "$rateList" --hertz "$toneList" | sed "s/^[^[:space:]]*/$label/" >> "$output/aliasing.tsv"
done

installed=$(lv2ls 2> /dev/null || true)
if command -v lv2apply > /dev/null; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  for rate in "${rates[@]}"; do
    for tone in "${tones[@]}"; do
      "$measure" --write-sine "$scratch/sine.wav" --rate "$rate" --hertz "$tone"
      for effect in "${lv2Effects[@]}"; do
        label=${effect%%|*}
        uri=${effect#*|}
        grep -qxF "$uri" <<< "$installed" || continue
        lv2apply -i "$scratch/sine.wav" -o "$scratch/out.wav" "$uri" > /dev/null 2>&1 || continue
        "$measure" --wav "$scratch/out.wav" --hertz "$tone" --label "$label" >> "$output/aliasing.tsv"
      done
    done
  done
fi

if command -v lv2bench > /dev/null && grep -qxF "$muff" <<< "$installed"; then
  lv2bench -b 512 -n 441000 "$muff" > "$output/lv2bench.txt" 2>/dev/null || true
fi

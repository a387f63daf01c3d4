#!/usr/bin/env bash
# Drives the built LV2 bundle through Debian's own LV2 hosts:
#
#   lv2_validate  the bundle's Turtle, with no error
#   lv2apply      every sound (one sample per block, as lv2apply runs), each
#                 the same samples as torvix-render gives through the VST
#                 module at that block size
#   lv2file       the first sound with other parameters in blocks of 512,
#                 against torvix-render in blocks of 512
#   jalv          loads the plug-in on a JACK dummy server, runs, takes a
#                 Preset change and a saved state whose sound is missing
#                 (the plug-in says so through jalv's log)
#
# Usage: scripts/test-lv2-hosts.sh [BUILD_DIR]   (default: build)
set -euo pipefail

repoRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly repoRoot
build=$(cd "${1:-$repoRoot/build}" && pwd)
readonly build bundle=$build/torvix-distortion.lv2 render=$build/torvix-render
readonly uri=urn:brelvanix:torvix-distortion

log() { echo "test-lv2-hosts: $*"; }
fail() {
  echo "test-lv2-hosts: FAILED: $*" >&2
  exit 1
}

work=$(mktemp -d)
jackPid=""
cleanup() {
  [[ -n $jackPid ]] && kill "$jackPid" 2>/dev/null && wait "$jackPid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Only this bundle is on the hosts' search path.
mkdir "$work/lv2"
ln -s "$bundle" "$work/lv2/torvix-distortion.lv2"
export LV2_PATH=$work/lv2

# writeInput FILE: one second of a decaying tone over noise, 32-bit float WAV.
writeInput() {
  python3 - "$1" <<'PY'
import math, random, struct, sys
rate, frames = 44100, 44100
random.seed(7)
samples = [0.6 * math.exp(-3 * i / rate) * math.sin(2 * math.pi * 110 * i / rate) + random.uniform(-0.05, 0.05)
           for i in range(frames)]
data = struct.pack('<%df' % frames, *samples)
fmt = struct.pack('<HHIIHH', 3, 1, rate, rate * 4, 4, 32)
with open(sys.argv[1], 'wb') as out:
    out.write(b'RIFF' + struct.pack('<I', 4 + 8 + len(fmt) + 8 + len(data)) + b'WAVE')
    out.write(b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data)
PY
}

# sameSamples A B: the first file's frames are the first frames of the second,
# bit for bit (torvix-render adds the effect's tail after the input).
sameSamples() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
def samples(path):
    data = open(path, 'rb').read()
    at = 12
    while at < len(data):
        chunk, size = data[at:at + 4], struct.unpack('<I', data[at + 4:at + 8])[0]
        if chunk == b'fmt ' and struct.unpack('<H', data[at + 8:at + 10])[0] != 3:
            sys.exit(f"{path}: not 32-bit float")
        if chunk == b'data':
            return data[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)
    sys.exit(f"{path}: no samples")
a, b = samples(sys.argv[1]), samples(sys.argv[2])
if len(a) == 0 or len(a) > len(b):
    sys.exit(f"{sys.argv[1]}: {len(a) // 4} frames, {sys.argv[2]}: {len(b) // 4}")
differing = sum(a[i:i + 4] != b[i:i + 4] for i in range(0, len(a), 4))
if differing:
    sys.exit(f"{differing} of {len(a) // 4} samples differ")
PY
}

validate() {
  local report
  report=$(lv2_validate "$bundle"/*.ttl 2>&1) || fail "lv2_validate: $report"
  grep -q "Found 0 errors" <<<"$report" || fail "lv2_validate: $report"
  log "lv2_validate: no error"
}

everySoundThroughLv2apply() {
  local count sound
  # The Preset port's scale points, one per sound.
  count=$(grep -c 'rdf:value' "$bundle/torvix-distortion.ttl")
  ((count > 0)) || fail "no sounds in the Turtle"
  for ((sound = 0; sound < count; ++sound)); do
    lv2apply -i "$work/in.wav" -o "$work/lv2-$sound.wav" -c preset "$sound" "$uri" >/dev/null
    "$render" --block-size 1 --preset "$sound" "$work/in.wav" "$work/vst-$sound.wav" >/dev/null
    sameSamples "$work/lv2-$sound.wav" "$work/vst-$sound.wav" || fail "lv2apply, sound $sound"
  done
  log "lv2apply: all $count sounds give the VST module's samples"
}

parametersThroughLv2file() {
  lv2file -i "$work/in.wav" -o "$work/lv2file.wav" -b 512 -p pre_gain:0.8 -p post_gain:0.3 -p pre_bass:0.7 \
    "$uri" >/dev/null
  "$render" --block-size 512 --pre-gain 0.8 --post-gain 0.3 --pre-bass 0.7 "$work/in.wav" "$work/vst.wav" >/dev/null
  sameSamples "$work/lv2file.wav" "$work/vst.wav" || fail "lv2file"
  log "lv2file: the VST module's samples"
}

# A state saved by a session whose archive had a sound this one lacks.
writeMissingSoundState() {
  mkdir -p "$1"
  cat >"$1/manifest.ttl" <<'TTL'
@prefix lv2: <http://lv2plug.in/ns/lv2core#> .
@prefix pset: <http://lv2plug.in/ns/ext/presets#> .
@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .
<state.ttl> a pset:Preset ; lv2:appliesTo <urn:brelvanix:torvix-distortion> ; rdfs:seeAlso <state.ttl> .
TTL
  cat >"$1/state.ttl" <<'TTL'
@prefix lv2: <http://lv2plug.in/ns/lv2core#> .
@prefix pset: <http://lv2plug.in/ns/ext/presets#> .
@prefix state: <http://lv2plug.in/ns/ext/state#> .
@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .
<> a pset:Preset ; lv2:appliesTo <urn:brelvanix:torvix-distortion> ;
  state:state [
    <urn:brelvanix:torvix-distortion#sound> "gone.xml" ;
    <urn:brelvanix:torvix-distortion#soundIndex> "2"^^xsd:int
  ] .
TTL
}

jalvOnJackDummy() {
  export JACK_DEFAULT_SERVER=torvix-lv2-$$ JACK_NO_AUDIO_RESERVATION=1
  jackd --no-realtime -d dummy -r 44100 -p 256 >"$work/jackd.log" 2>&1 &
  jackPid=$!
  sleep 1
  kill -0 "$jackPid" 2>/dev/null || fail "jackd: $(cat "$work/jackd.log")"
  writeMissingSoundState "$work/state"
  (sleep 0.5 && echo "preset = 3" && sleep 0.5 && echo controls && sleep 0.5) |
    timeout 20 jalv -t -l "$work/state" -n torvix-lv2-test "$uri" >"$work/jalv.log" 2>&1 ||
    fail "jalv: $(cat "$work/jalv.log")"
  grep -q 'saved sound "gone.xml" is not in the archive' "$work/jalv.log" || fail "jalv: no log line: $(cat "$work/jalv.log")"
  grep -q "preset = 3" "$work/jalv.log" || fail "jalv: the Preset change: $(cat "$work/jalv.log")"
  log "jalv: loaded and ran on a JACK dummy server, restored with a log line, took a Preset change"
}

[[ -f $bundle/torvix_distortion_lv2.so ]] || fail "no bundle at $bundle (build first)"
writeInput "$work/in.wav"
validate
everySoundThroughLv2apply
parametersThroughLv2file
jalvOnJackDummy
log "all hosts passed in $SECONDS s"

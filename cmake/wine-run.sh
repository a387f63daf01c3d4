#!/bin/sh
# Runs a Windows program under wine for the cross builds' tests.
# Usage: wine-run.sh WINEPREFIX PROGRAM [ARGS...]
# Each build directory keeps its own wine prefix; debug channels are off and
# the Mono and Gecko installers are disabled so nothing prompts or prints.
set -e
if [ "$#" -lt 2 ]; then
  echo "usage: $0 WINEPREFIX PROGRAM [ARGS...]" >&2
  exit 2
fi
WINEPREFIX=$1
shift
mkdir -p "$WINEPREFIX"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"

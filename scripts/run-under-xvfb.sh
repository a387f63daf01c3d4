#!/bin/bash
# Runs the given test program against a virtual X server of its own.
# Installs the X server and xdotool when they are missing and this may
# (root with apt-get); exits 77 (skipped) when they cannot be had.
set -u
program=$1
shift

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends xvfb xdotool imagemagick \
      >/dev/null 2>&1 || { apt-get update >/dev/null 2>&1 &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends xvfb xdotool imagemagick \
        >/dev/null 2>&1; }
  fi
fi
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "Xvfb or xdotool is not available: skipped" >&2
  exit 77
fi

# Xvfb picks a free display itself and writes its number to displayFile once
# it accepts clients: choosing one beforehand races with other servers.
displayFile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayFile" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$displayFile"' EXIT
for _ in $(seq 200); do
  display=$(head -n 1 "$displayFile")
  [ -n "$display" ] && break
  sleep 0.05
done
if [ -z "$display" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi

DISPLAY=":$display" "$program" "$@"

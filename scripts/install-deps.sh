#!/usr/bin/env bash
# Installs what the native build, its tests, the tools and the fuzz build
# (clang and its libFuzzer runtime) need, from Debian 12's packages, with the
# LV2 headers, lilv and the LV2 hosts the LV2 bundle is tested in (lv2apply,
# lv2file, jalv on a JACK dummy server, lv2_validate with sordi). Safe to run
# again.
set -euo pipefail

packages=(
  build-essential cmake pkg-config file
  clang libclang-rt-dev
  zlib1g-dev libminizip-dev libtinyxml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev libfftw3-dev libcairo2-dev libx11-dev
  fontconfig fonts-liberation zip
  xvfb xauth xdotool imagemagick
  gnuplot-nox
  lv2-dev liblilv-dev lilv-utils lv2file jalv jackd2 sordi python3
)
# With --bench-peers also the third-party effects the benchmark compares with
# (scripts/bench.sh) and the LV2 host tools that run and time them.
if [ "${1:-}" = --bench-peers ]; then
  packages+=(guitarix-lv2 zam-plugins dpf-plugins-vst lilv-utils)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  # A mirror caught mid-sync serves index files of the wrong size for a
  # while: the update is tried again, then the install goes on with the
  # indices it has (and fails, saying which, if a package needs another).
  $sudo apt-get update -qq || {
    echo "install-deps: apt-get update could not fetch every index, trying again in 20 s" >&2
    sleep 20
    $sudo apt-get update -qq || echo "install-deps: going on with the indices apt-get has" >&2
  }
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

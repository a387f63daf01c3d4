#!/usr/bin/env bash
# Prepares a Windows cross build: installs the mingw-w64 compilers and wine
# with apt-get, then builds zlib's minizip, TinyXML and GoogleTest for the
# triplet from Debian's own sources into PREFIX (static libraries + headers).
#
# Usage: cmake/setup-windows-deps.sh TRIPLET PREFIX
#   TRIPLET  i686-w64-mingw32 or x86_64-w64-mingw32
#   PREFIX   install prefix; sources are unpacked and built under PREFIX/src
#
# Idempotent: each finished step leaves a stamp in PREFIX/stamps, so a second
# run only checks the installed packages and returns.
set -euo pipefail

readonly recipeVersion=1
repoRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly repoRoot

usage() {
  echo "usage: $0 i686-w64-mingw32|x86_64-w64-mingw32 PREFIX" >&2
  exit 2
}

[[ $# -eq 2 ]] || usage
readonly triplet=$1
case $triplet in
  i686-w64-mingw32) readonly debArch=i686 archFlags="-msse2 -mfpmath=sse" ;;
  x86_64-w64-mingw32) readonly debArch=x86-64 archFlags="" ;;
  *) usage ;;
esac
mkdir -p "$2"
prefix=$(cd "$2" && pwd)
readonly prefix
readonly srcDir=$prefix/src stampDir=$prefix/stamps
readonly cc=$triplet-gcc-posix cxx=$triplet-g++-posix ar=$triplet-ar
readonly buildFlags="-O2 $archFlags"

log() { echo "setup-windows-deps: $*"; }

# Runs a command as root: directly when we are root, else through sudo.
asRoot() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

aptGet() { asRoot env DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=600 "$@"; }

# A mirror caught mid-sync serves index files of the wrong size for a while:
# the update is tried again, and then the set-up goes on with the indices it
# has (a package that needs a missing one then fails to install, and says so).
aptUpdate() {
  aptGet update && return
  log "apt-get update could not fetch every index, trying again in 20 s"
  sleep 20
  aptGet update || log "apt-get update could not fetch every index; going on with those it has"
}

isInstalled() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

requiredPackages() {
  echo cmake dpkg-dev file libz-mingw-w64-dev googletest wine wine64
  # The window tests run wine on a virtual X server (scripts/run-under-xvfb.sh).
  echo xvfb xauth xdotool
  echo "gcc-mingw-w64-$debArch-posix g++-mingw-w64-$debArch-posix binutils-mingw-w64-$debArch mingw-w64-$debArch-dev"
  [[ $triplet == i686-* ]] && echo wine32:i386
  return 0
}

installPackages() {
  local missing=() package
  for package in $(requiredPackages); do
    isInstalled "$package" || missing+=("$package")
  done
  [[ ${#missing[@]} -eq 0 ]] && return
  log "installing ${missing[*]}"
  if [[ $triplet == i686-* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    asRoot dpkg --add-architecture i386
  fi
  aptUpdate
  local wine32=() others=()
  for package in "${missing[@]}"; do
    if [[ $package == wine32:i386 ]]; then wine32+=("$package"); else others+=("$package"); fi
  done
  [[ ${#others[@]} -eq 0 ]] || aptGet install --no-install-recommends "${others[@]}"
  # The 32-bit wine comes from Debian's i386 indices. Where those cannot be had
  # (a mirror serving a stale one), the 32-bit build is still made and checked;
  # scripts/test-windows.sh then says that its tests could not run under wine.
  [[ ${#wine32[@]} -eq 0 ]] || aptGet install --no-install-recommends "${wine32[@]}" ||
    log "wine32:i386 could not be installed: the 32-bit tests cannot run under wine here"
}

readonly sourceList=/etc/apt/sources.list.d/torvix-deb-src.sources

# Source entries mirroring the machine's Debian 12 binary entries (bookworm,
# bookworm-updates, bookworm-security), written to a file of our own.
debianSourceStanzas() {
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f $file && $file != "$sourceList" ]] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /Types:[^\n]*deb/ && /Suites:[^\n]*bookworm/ && /URIs:[^\n]*debian/ {
           sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $file ]] || continue
    sed -n 's/^deb \(.*debian.* bookworm.*\)/deb-src \1/p' "$file" | while read -r line; do
      printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n\n' \
        "$(awk '{print $2}' <<<"$line")" "$(awk '{print $3}' <<<"$line")" "$(cut -d' ' -f4- <<<"$line")"
    done
  done
}

fallbackSourceStanzas() {
  cat <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
}

addSourceEntries() {
  [[ -f $sourceList ]] && return
  local stanzas
  stanzas=$(debianSourceStanzas)
  [[ -n $stanzas ]] || stanzas=$(fallbackSourceStanzas)
  log "adding Debian source entries in $sourceList"
  printf '%s\n' "$stanzas" | asRoot tee "$sourceList" >/dev/null
  aptUpdate
}

isDone() { [[ -f $stampDir/$1.$recipeVersion ]]; }
markDone() { mkdir -p "$stampDir" && touch "$stampDir/$1.$recipeVersion"; }

# Downloads and unpacks NAME into the current directory: the newest version,
# or bookworm's own where the newest one's sources cannot be fetched (the
# security archive does not serve sources from every mirror).
fetchSource() {
  local name=$1
  apt-get source -q -o APT::Sandbox::User=root "$name" >"$name-newest.log" 2>&1 && return
  log "the newest $name sources could not be fetched (see $srcDir/$name-newest.log);" \
    "taking bookworm's own release"
  apt-get source -q -o APT::Sandbox::User=root "$name/bookworm"
}

# Unpacks Debian's source package NAME (patches applied) under PREFIX/src
# and prints its directory.
unpackSource() {
  local name=$1 dir
  dir=$(find "$srcDir" -maxdepth 1 -type d -name "$name-*" 2>/dev/null | head -n 1)
  if [[ -z $dir ]]; then
    addSourceEntries >&2
    mkdir -p "$srcDir"
    (cd "$srcDir" && fetchSource "$name") >&2
    dir=$(find "$srcDir" -maxdepth 1 -type d -name "$name-*" | head -n 1)
  fi
  [[ -n $dir ]] || { log "could not unpack the $name sources" >&2; exit 1; }
  echo "$dir"
}

# staticLibrary NAME COMPILER FLAGS SOURCES...: compiles and archives lib NAME.
staticLibrary() {
  local name=$1 compiler=$2 flags=$3 objDir=$prefix/src/obj-$1 source object objects=()
  shift 3
  rm -rf "$objDir" && mkdir -p "$objDir" "$prefix/lib"
  for source in "$@"; do
    object=$objDir/$(basename "${source%.*}").o
    # shellcheck disable=SC2086
    "$compiler" $buildFlags $flags -c "$source" -o "$object"
    objects+=("$object")
  done
  rm -f "$prefix/lib/lib$name.a"
  "$ar" rcs "$prefix/lib/lib$name.a" "${objects[@]}"
}

buildMinizip() {
  isDone minizip && return
  local dir
  dir=$(unpackSource zlib)/contrib/minizip
  log "building minizip"
  staticLibrary minizip "$cc" "-I$dir" "$dir"/{ioapi,mztools,unzip,zip}.c
  mkdir -p "$prefix/include/minizip"
  cp "$dir"/{crypt,ioapi,mztools,unzip,zip}.h "$prefix/include/minizip/"
  markDone minizip
}

buildTinyxml() {
  isDone tinyxml && return
  local dir
  dir=$(unpackSource tinyxml)
  log "building tinyxml"
  staticLibrary tinyxml "$cxx" "-DTIXML_USE_STL -I$dir" "$dir"/{tinyxml,tinyxmlparser,tinyxmlerror,tinystr}.cpp
  mkdir -p "$prefix/include"
  cp "$dir"/{tinyxml,tinystr}.h "$prefix/include/"
  markDone tinyxml
}

buildGoogletest() {
  isDone googletest && return
  local buildDir=$srcDir/googletest-build
  log "building googletest"
  rm -rf "$buildDir"
  cmake -S /usr/src/googletest -B "$buildDir" \
    -DCMAKE_TOOLCHAIN_FILE="$repoRoot/cmake/toolchain-$triplet.cmake" \
    -DTORVIX_DEPS_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$archFlags" \
    -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=ON >/dev/null
  cmake --build "$buildDir" -j "$(nproc)" >/dev/null
  cmake --install "$buildDir" >/dev/null
  markDone googletest
}

main() {
  installPackages
  buildMinizip
  buildTinyxml
  buildGoogletest
  log "$triplet libraries ready in $prefix"
}

main

#!/usr/bin/env bash
# Installs everything the builds and tests need, from Debian's archive only.
# Idempotent: returns in a second or two when everything is already present.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DEPS="$ROOT/build/deps"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

PACKAGES=(
  cmake make g++ clang clang-format libclang-rt-14-dev dpkg-dev
  mingw-w64 libz-mingw-w64-dev
  wine wine64 xvfb xauth x11-utils
  libboost1.81-dev
  libgtest-dev googletest libbenchmark-dev
  zlib1g-dev libminizip-dev libcpp-httplib-dev zip python3
  fonts-wqy-microhei fonts-wine imagemagick qrencode locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The zh_CN.UTF-8 locale lets Wine use code page 936 for file names too: a system locale when
# we are root, else a private one (scripts/wine-env.sh then points LOCPATH at it).
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  if [ "$(id -u)" -eq 0 ] && [ -f /etc/locale.gen ]; then
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null 2>&1 || true
  fi
  LOCDIR="$DEPS/locale"
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' && [ ! -d "$LOCDIR/zh_CN.UTF-8" ]; then
    mkdir -p "$LOCDIR"
    localedef -i zh_CN -f UTF-8 "$LOCDIR/zh_CN.UTF-8" || true
  fi
fi

# A Debian source package unpacked into $2, from the same archive and suite as the machine's own
# sources for "main", through a private list (the machine's lists stay as they are).
fetch_source() {
  local pkg="$1" dest="$2" work="$DEPS/$1-fetch" uri="" suite=""
  rm -rf "$work" && mkdir -p "$work/lists/partial"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources)
    suite=$(awk '/^Suites:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    read -r uri suite < <(awk '$1=="deb" && / main/{print $2, $3; exit}' /etc/apt/sources.list)
  fi
  echo "deb-src $uri $suite main" > "$work/sources.list"
  local APTOPT=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/nonexistent
                -o "Dir::State::Lists=$work/lists")
  $SUDO apt-get "${APTOPT[@]}" update -qq
  (cd "$work" && apt-get "${APTOPT[@]}" source --download-only "$pkg" >/dev/null 2>&1 &&
     dpkg-source -x ./*.dsc src >/dev/null 2>&1)
  rm -rf "$dest" && mv "$work/src" "$dest" && rm -rf "$work"
}

# minizip for Windows, built from Debian's zlib source package (contrib/minizip).
MZ="$DEPS/minizip-win64"
if [ ! -f "$MZ/lib/libminizip.a" ]; then
  work="$DEPS/zlib-src"
  fetch_source zlib "$work"
  src="$work/contrib/minizip"
  mkdir -p "$MZ/lib" "$MZ/include/minizip" "$work/obj"
  for f in zip unzip ioapi iowin32; do
    x86_64-w64-mingw32-gcc-posix -O2 -w -DNOCRYPT= -I"$src" -c "$src/$f.c" -o "$work/obj/$f.o"
  done
  x86_64-w64-mingw32-ar rcs "$MZ/lib/libminizip.a" "$work/obj/"*.o
  cp "$src"/{zip,unzip,ioapi,iowin32}.h "$MZ/include/minizip/"
  rm -rf "$work"
fi

# The editing component for Windows, built as a static library from Debian's scite source
# package (its scintilla/ folder, with its own win32 makefile).
SC="$DEPS/scintilla-win64"
if [ ! -f "$SC/lib/libscintilla.a" ]; then
  work="$DEPS/scite-src"
  fetch_source scite "$work"
  make -s -C "$work/scintilla/win32" -j"$(nproc)" CXX=x86_64-w64-mingw32-g++-posix AR=x86_64-w64-mingw32-ar \
    RANLIB=x86_64-w64-mingw32-ranlib WINDRES=x86_64-w64-mingw32-windres ../bin/libscintilla.a >/dev/null
  mkdir -p "$SC/lib" "$SC/include"
  cp "$work/scintilla/bin/libscintilla.a" "$SC/lib/"
  cp "$work/scintilla/include/"*.h "$SC/include/"
  rm -rf "$work"
fi

# Boost for the cross build: a folder holding only a link to Boost's headers.
mkdir -p "$DEPS/boost-win64"
[ -e "$DEPS/boost-win64/boost" ] || ln -s /usr/include/boost "$DEPS/boost-win64/boost"
echo "bootstrap: ready"

#!/usr/bin/env bash
# The Windows build, cross-compiled with mingw-w64 and tested under Wine:
#   scripts/test-windows.sh
# Installs what is missing (the mingw compiler, Wine, pugixml built from Debian's source package
# of the installed version, GoogleTest from Debian's sources), builds the library and its tests
# in build-windows/ and runs the whole suite under Wine, then prints how many tests ran there
# beside how many the Linux build has.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
start=$(date +%s)
export CI=${CI:-true} DEBIAN_FRONTEND=noninteractive
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 dpkg-dev

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
build=$root/build-windows
deps=$build/deps
prefix=$deps/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=${FOLDWISE_JOBS:-2}
mkdir -p "$deps"

# pugixml for Windows from the very source Debian built the Linux package from.
pugixml_version=$(dpkg-query -W -f='${Version}' libpugixml-dev)
if [ ! -f "$prefix/.pugixml-$pugixml_version" ]; then
  if ! apt-get source --print-uris "pugixml=$pugixml_version" 2>/dev/null | grep -q "\.dsc"; then
    # The deb-src twin of the configured Debian archive.
    src_list=/etc/apt/sources.list.d/foldwise-deb-src.sources
    sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee "$src_list" >/dev/null
    "${sudo_cmd[@]}" apt-get update -qq
  fi
  rm -rf "$deps/pugixml-src"
  mkdir -p "$deps/pugixml-src"
  (cd "$deps/pugixml-src" && apt-get source -qq "pugixml=$pugixml_version" >/dev/null)
  src=$(find "$deps/pugixml-src" -mindepth 1 -maxdepth 1 -type d -name 'pugixml-*' | head -n1)
  cmake -S "$src" -B "$deps/pugixml-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$deps/pugixml-build" -j"$jobs" >/dev/null
  cmake --install "$deps/pugixml-build" >/dev/null
  touch "$prefix/.pugixml-$pugixml_version"
fi

# GoogleTest for Windows from the sources the googletest package installs.
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
if [ ! -f "$prefix/.googletest-$gtest_version" ]; then
  cmake -S /usr/src/googletest -B "$deps/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -Dgtest_disable_pthreads=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$deps/googletest-build" -j"$jobs" >/dev/null
  cmake --install "$deps/googletest-build" >/dev/null
  touch "$prefix/.googletest-$gtest_version"
fi

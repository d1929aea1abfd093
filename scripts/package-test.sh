#!/usr/bin/env bash
# Installs the library the way a host team would get it and builds the example host
# (examples/host) against the installed package twice: through find_package(foldwise) and
# through pkg-config; runs both.
#   scripts/package-test.sh           installs build/ (the static library scripts/test.sh built)
#   scripts/package-test.sh --shared  configures and builds the shared library in build-shared/
#                                     (no tests: they need the static library), checks its soname
#                                     and its exported symbols, then installs it
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
shared=0
if [ "${1:-}" = "--shared" ]; then
  shared=1
  build_dir=build-shared
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_SHARED_LIBS=ON \
    >/dev/null
  cmake --build "$build_dir"
  scripts/check-exports.sh "$build_dir/libfoldwise.so"
fi

prefix="$PWD/$build_dir/install"
rm -rf "$prefix" "$build_dir/host-cmake" "$build_dir/host-pkgconfig"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

# find_package(foldwise)
cmake -S examples/host -B "$build_dir/host-cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$build_dir/host-cmake" >/dev/null
"$build_dir/host-cmake/host" "$build_dir/host-cmake/data"

# pkg-config: a static library brings its private dependencies (pugixml) only with --static.
pc_dir=$(dirname "$(find "$prefix" -name foldwise.pc | head -n 1)")
export PKG_CONFIG_PATH="$pc_dir${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
static_flag=--static
[ "$shared" = 1 ] && static_flag=""
mkdir -p "$build_dir/host-pkgconfig"
# shellcheck disable=SC2046  # pkg-config prints several words on purpose
c++ -std=c++17 -Wall -Wextra -Werror -Iexamples/host/no_pugixml examples/host/host.cc \
  -o "$build_dir/host-pkgconfig/host" $(pkg-config --cflags --libs $static_flag foldwise)
if [ "$shared" = 1 ]; then
  soname=$(readelf -d "$build_dir/libfoldwise.so" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
  readelf -d "$build_dir/host-pkgconfig/host" | grep -q "NEEDED.*\[$soname\]" ||
    { echo "package: the host does not link $soname" >&2; exit 1; }
  echo "package: soname $soname"
fi
LD_LIBRARY_PATH="$(pkg-config --variable=libdir foldwise)" \
  "$build_dir/host-pkgconfig/host" "$build_dir/host-pkgconfig/data"

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

# The library and its tests for Windows. Benchmarks and the command-line tool stay off: the
# benchmark library and CLI11 have no Windows build in Debian, and the tests need neither.
cmake -S . -B "$build/main" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DFOLDWISE_WINDOWS_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DFOLDWISE_BUILD_TESTS=ON -DFOLDWISE_BUILD_BENCHMARKS=OFF -DFOLDWISE_BUILD_TOOLS=OFF \
  ${CCACHE_DIR:+-DCMAKE_CXX_COMPILER_LAUNCHER=ccache} >/dev/null
cmake --build "$build/main" -j"$jobs"
# clang-tidy over the Win32 layer, which only this build's compile database holds.
scripts/lint-win32.sh "$build/main"

# Wine in a prefix of its own, made once; a fixed time zone and locale, as on the Linux run.
wine=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TZ=UTC LANG=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >/dev/null 2>&1
fi

status=0
windows_count=0
for program in foldwise_tests foldwise_oom_tests; do
  log=$build/$program.log
  if ! (cd "$build/main" && "$wine" "$program.exe" --gtest_brief=1) >"$log" 2>&1; then
    status=1
    grep -E "FAILED|Failure|Unhandled" "$log" | head -n 40 || true
  fi
  # Wine may report a crash and still exit 0: a run counts only when the program itself says
  # that it finished and that nothing failed.
  if ! grep -q '^\[  PASSED  \]' "$log" || grep -q -E '^\[  FAILED  \]|Unhandled' "$log"; then
    echo "$program.exe did not finish cleanly under Wine:"
    grep -E "FAILED|Unhandled|^\[ RUN" "$log" | tail -n 20 || true
    status=1
  fi
  ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran\..*/\1/p' "$log" | tail -n1)
  windows_count=$((windows_count + ${ran:-0}))
done

# The DLL and its import library, installed, and the example host built against them with
# find_package and run under Wine with foldwise.dll beside it.
cmake -S . -B "$build/dll" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DFOLDWISE_WINDOWS_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DFOLDWISE_BUILD_TESTS=OFF -DFOLDWISE_BUILD_BENCHMARKS=OFF -DFOLDWISE_BUILD_TOOLS=OFF \
  ${CCACHE_DIR:+-DCMAKE_CXX_COMPILER_LAUNCHER=ccache} >/dev/null
cmake --build "$build/dll" -j"$jobs" >/dev/null
rm -rf "$build/dll-install" "$build/host"
cmake --install "$build/dll" --prefix "$build/dll-install" >/dev/null
cmake -S examples/host -B "$build/host" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DFOLDWISE_WINDOWS_DEPS="$prefix;$build/dll-install" >/dev/null
cmake --build "$build/host" >/dev/null
cp "$build/dll-install/bin/foldwise.dll" "$build/host/"
if (cd "$build/host" && "$wine" host.exe host-data); then
  echo "foldwise.dll: the example host links its import library and runs"
else
  status=1
fi

# The same operations save the same bytes on both platforms, apart from the data directory that
# some folders store, which each platform writes in its own form ("out/7" and "out\7").
# CI has built build/ with scripts/test.sh already; on its own this script builds what it needs.
linux_build=$root/build
saved=$build/saved
if [ ! -f "$linux_build/build.ninja" ]; then
  cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFOLDWISE_BUILD_TESTS=ON ${CCACHE_DIR:+-DCMAKE_CXX_COMPILER_LAUNCHER=ccache} >/dev/null
fi
if cmake --build "$linux_build" -j"$jobs" \
  --target foldwise_saved_files foldwise_tests foldwise_oom_tests >/dev/null; then
  rm -rf "$saved"
  mkdir -p "$saved/linux" "$saved/windows"
  (cd "$saved/linux" && "$linux_build/foldwise_saved_files" out >/dev/null)
  (cd "$saved/windows" && "$wine" "$build/main/foldwise_saved_files.exe" out >/dev/null)
  identical=0
  with_paths=0
  differing=0
  while IFS= read -r file; do
    relative=${file#"$saved/linux/out/"}
    other=$saved/windows/out/$relative
    if cmp -s "$file" "$other"; then
      identical=$((identical + 1))
      continue
    fi
    n=${relative%%/*}
    if [ -f "$other" ] && cmp -s <(sed "s#out/$n<#@DIR@<#g" "$file") \
      <(sed "s#out\\\\$n<#@DIR@<#g" "$other"); then
      with_paths=$((with_paths + 1))
    else
      differing=$((differing + 1))
      echo "saved differently on Windows: $relative"
      diff <(cat "$file") <(cat "$other" 2>/dev/null) | head -n 6 || true
    fi
  done < <(find "$saved/linux/out" -type f | sort)
  missing=$(cd "$saved/windows/out" && find . -type f | sort | comm -13 <(cd "$saved/linux/out" && find . -type f | sort) -)
  if [ -n "$missing" ]; then
    echo "saved only on Windows: $missing"
    differing=$((differing + 1))
  fi
  echo "saved files: $identical byte-identical, $with_paths identical apart from the stored" \
    "data directory, $differing different"
  [ "$differing" -eq 0 ] || status=1
else
  echo "saved files: the Linux build in $linux_build failed"
  status=1
fi

linux_count=unknown
if [ -x "$linux_build/foldwise_tests" ]; then
  linux_count=$(( $("$linux_build/foldwise_tests" --gtest_list_tests | grep -c '^  ') +
                  $("$linux_build/foldwise_oom_tests" --gtest_list_tests | grep -c '^  ') ))
fi
echo "tests run: Linux $linux_count, Windows under Wine $windows_count ($(( $(date +%s) - start )) s)"
[ "$status" -eq 0 ] && [ "$windows_count" -gt 0 ]

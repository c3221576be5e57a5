#!/usr/bin/env bash
# Orvex used as a program outside this tree uses it: installs the default
# build into a fresh prefix, builds examples/hello with its own CMakeLists.txt
# (as the README shows), builds examples/consumer once through the CMake
# package and once through pkg-config, and runs the consumer's check of the
# starter program on the headless display, both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
tools/bootstrap.sh program

say() { echo "consumer-tests: $*"; }

[ -f build/default/CMakeCache.txt ] || cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target orvex orvex_platform

work=$(mktemp -d "${TMPDIR:-/tmp}/orvex-consumer.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

say "installing into $prefix"
cmake --install build/default --prefix "$prefix" >/dev/null
pc_dir=$(dirname "$(find "$prefix" -name orvex.pc -print -quit)")
[ -f "$pc_dir/orvex.pc" ] || { say "FAILED: no orvex.pc installed"; exit 1; }

say "examples/hello through find_package(orvex)"
cmake -S examples/hello -B "$work/hello" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/hello" -j"$(nproc)"

say "examples/consumer through find_package(orvex COMPONENTS headless)"
cmake -S examples/consumer -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/cmake" -j"$(nproc)"
"$work/cmake/hello_check"

say "examples/consumer through pkg-config"
mkdir -p "$work/pkg-config"
PKG_CONFIG_PATH="$pc_dir" make -s -C examples/consumer O="$work/pkg-config" -j"$(nproc)"
"$work/pkg-config/hello_check"

# Nothing of the source tree may have been needed: the consumer's include
# paths name the prefix only.
if grep -rqs -- "-I$root" "$work/cmake" 2>/dev/null; then
  say "FAILED: the CMake consumer's build reached into the source tree"
  exit 1
fi
say "all passed"

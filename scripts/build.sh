#!/usr/bin/env bash
# Configures and builds one flavour: normal, asan or i386.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-normal}
case "$flavour" in
  normal) extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)   extra=(-DCMAKE_BUILD_TYPE=Debug -DSVGFILTER_SANITIZE=ON) ;;
  i386)   extra=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i386.cmake") ;;
  bench)  extra=(-DCMAKE_BUILD_TYPE=Release -DSVGFILTER_BENCH=ON) ;;
  *) echo "unknown flavour: $flavour (normal, asan, i386, bench)" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$flavour" -G Ninja "${extra[@]}" >/dev/null
cmake --build "$root/build/$flavour" -j "$(nproc)"

#!/usr/bin/env bash
# Configures and builds one flavour: normal, asan, i386, bench or fuzz.
# Further arguments name the targets to build (default: all of the flavour).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-normal}
targets=()
case "$flavour" in
  normal) extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)   extra=(-DCMAKE_BUILD_TYPE=Debug -DSVGFILTER_SANITIZE=ON) ;;
  i386)   extra=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i386.cmake") ;;
  bench)  extra=(-DCMAKE_BUILD_TYPE=Release -DSVGFILTER_BENCH=ON) ;;
  # The fuzz lane builds with clang and only its own targets.
  fuzz)   extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DSVGFILTER_FUZZ=ON
                 -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
          targets=(--target fuzz_targets) ;;
  *) echo "unknown flavour: $flavour (normal, asan, i386, bench, fuzz)" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$flavour" -G Ninja "${extra[@]}" >/dev/null
shift || true
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$root/build/$flavour" -j "${JOBS:-$(nproc)}" "${targets[@]}"

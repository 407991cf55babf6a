#!/usr/bin/env bash
# Installs what is missing, then builds and tests the normal, sanitizer and
# 32-bit (run under qemu-i386) flavours, then runs the fuzz lane briefly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
status=0
for flavour in normal asan i386; do
  echo "=== $flavour build"
  "$root/scripts/build.sh" "$flavour"
  echo "=== $flavour tests"
  ctest --test-dir "$root/build/$flavour" --output-on-failure -j "$(nproc)" --timeout 600 || status=1
done
echo "=== fuzz lane"
"$root/scripts/fuzz-all.sh" || status=1
exit $status

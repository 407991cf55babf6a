#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined sanitizers) and
# runs each briefly over its seed corpus plus new inputs. Any crash, leak,
# timeout (5 s an input) or memory use over 512 MB (or the limit a target sets
# in its fuzz/NAME/options) fails the run.
#
#   FUZZ_SECONDS_TOTAL  time for all targets together (default 60)
#   FUZZ_SECONDS        time for each target (overrides the share of the total)
#   FUZZ_ONLY           run only the target of this name
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# clang and its fuzzer runtime may be missing on a fresh machine.
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" fuzz
build="$root/build/fuzz"
list="$build/fuzz/targets.txt"
mapfile -t targets < <(grep -v '^$' "$list" | { [ -n "${FUZZ_ONLY:-}" ] && grep "^${FUZZ_ONLY}	" || cat; } || true)
if ((${#targets[@]} == 0)); then
  echo "no fuzz targets${FUZZ_ONLY:+ named $FUZZ_ONLY}"
  [ -z "${FUZZ_ONLY:-}" ]
  exit
fi
total=${FUZZ_SECONDS_TOTAL:-60}
each=${FUZZ_SECONDS:-$(( total / ${#targets[@]} ))}
(( each < 3 )) && each=3
# The lane's own settings come first; the caller's (the test command sets
# some for the sanitizer builds) are added after them. A small quarantine
# keeps the decoders' large images from counting twice against the limit.
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1:quarantine_size_mb=64${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
status=0
for line in "${targets[@]}"; do
  IFS=$'\t' read -r name exe dir <<<"$line"
  work="$build/work/$name"
  artifacts="$build/artifacts/$name"
  mkdir -p "$work" "$artifacts"
  args=(-max_total_time="$each" -timeout=5 -rss_limit_mb=512 -print_final_stats=1
        -artifact_prefix="$artifacts/")
  [ -f "$dir/dict" ] && args+=(-dict="$dir/dict")
  # A target may set flags of its own (the last of a flag counts), one a line.
  [ -f "$dir/options" ] && mapfile -t -O "${#args[@]}" args < <(grep -v '^#' "$dir/options")
  seeds=()
  [ -d "$dir/corpus" ] && seeds+=("$dir/corpus")
  echo "=== fuzz $name (${each}s)"
  if "$exe" "${args[@]}" "$work" "${seeds[@]}" >"$build/work/$name.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/work/$name.log" | tail -2 || true
  else
    echo "fuzz target $name failed; its log:"
    tail -60 "$build/work/$name.log"
    status=1
  fi
done
exit $status

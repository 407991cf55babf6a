#!/usr/bin/env bash
# Installs what is missing, builds, and runs the tool on the bundled sample:
# exported to SVG, imported back, and exported again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# Only what the job runs: the tool, the module, its modules and dictionaries.
"$root/scripts/build.sh" normal svgfilter_product
tool="$root/build/normal/tools/svgfilter"
if [ -f "$root/examples/sample.json" ] && "$tool" --help 2>/dev/null | grep -q '^ *export'; then
  mkdir -p "$root/out"
  # The tool itself says what it wrote.
  "$tool" export "$root/examples/sample.json" "$root/out/sample.svg" "$@"
  "$tool" import "$root/out/sample.svg" "$root/out/sample-imported.json"
  "$tool" export "$root/out/sample-imported.json" "$root/out/sample-again.svg" "$@"
else
  "$tool" options --no-ui "$@"
fi

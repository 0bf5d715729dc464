#!/bin/bash
# bench/package/run.sh [BUILD_DIR]
# Builds the browser-like payload of the shipped size (make-payload.sh
# "shipped"), packs it with nuvra-pack, and runs package_bench on it.
# Work files go to a temporary folder under BUILD_DIR (default build/host)
# and are removed afterwards.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build/host}
make_payload=${MAKE_PAYLOAD:-}
for candidate in "$top/../shared/bench/make-payload.sh" /work/shared/bench/make-payload.sh; do
  [ -z "$make_payload" ] && [ -x "$candidate" ] && make_payload=$candidate
done
[ -n "$make_payload" ] || { echo "run.sh: make-payload.sh not found (set MAKE_PAYLOAD)" >&2; exit 2; }

if [ -f "$build/CMakeCache.txt" ]; then cmake "$build" >/dev/null; else (cd "$top" && cmake --preset host >/dev/null); fi
cmake --build "$build" --target nuvra-pack package_bench -j2 >/dev/null
work=$(mktemp -d "$build/bench-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$make_payload" "$work/payload" shipped >/dev/null
start=$(date +%s.%N)
"$build/bin/nuvra-pack" pack "$work/payload" -o "$work/SetupPackage.bin"
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" 'BEGIN { printf "nuvra-pack pack took %.1f s\n", e - s }'
"$build/bin/package_bench" "$work/SetupPackage.bin"

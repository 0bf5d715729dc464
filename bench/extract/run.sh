#!/bin/bash
# bench/extract/run.sh [shipped|large ...]   (default: shipped)
#
# For each payload profile of make-payload.sh: packs the payload with the
# host nuvra-pack, builds extract_bench around that package and prints
#   - install step 0 under Wine (fresh install and reinstall over it), with
#     the process's peak working set and peak private bytes;
#   - nuvra-pack unpack of the same package, natively, with its peak RSS.
# Needs both presets configured (cmake --preset host / win32).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
MAKE_PAYLOAD=${MAKE_PAYLOAD:-}
for candidate in "$ROOT/../shared/bench/make-payload.sh" /work/shared/bench/make-payload.sh; do
  [ -z "$MAKE_PAYLOAD" ] && [ -x "$candidate" ] && MAKE_PAYLOAD=$candidate
done
[ -n "$MAKE_PAYLOAD" ] || { echo "make-payload.sh not found (set MAKE_PAYLOAD)" >&2; exit 2; }

WIN=$ROOT/build/win32
WINE_RUN="$ROOT/scripts/wine-run.sh $WIN/wine"
PACK=$ROOT/build/host/bin/nuvra-pack
BENCH_PACKAGE=$WIN/bench-extract/SetupPackage.bin
INSTALL_C=$WIN/wine/prefix/drive_c/nuvra-extract-bench

cmake --build --preset host --target nuvra-pack >/dev/null
WORK=$(mktemp -d /tmp/nuvra-extract-bench.XXXXXX)
cleanup() { rm -rf "$WORK" "$INSTALL_C"; }
trap cleanup EXIT

for profile in "${@:-shipped}"; do
  echo "== profile $profile"
  "$MAKE_PAYLOAD" "$WORK/$profile-payload" "$profile" >/dev/null
  echo "payload: $(find "$WORK/$profile-payload" -type f | wc -l) files, $(du -sb "$WORK/$profile-payload" | cut -f1) bytes"
  "$PACK" pack "$WORK/$profile-payload" -o "$WORK/$profile.bin" >/dev/null
  echo "package: $(stat -c %s "$WORK/$profile.bin") bytes"

  cp "$WORK/$profile.bin" "$BENCH_PACKAGE"
  cmake --build --preset win32 --target extract_bench >/dev/null

  echo "-- install step 0 under Wine (32-bit)"
  rm -rf "$INSTALL_C"
  start=$(date +%s.%N)
  # Output to a file: Wine's helper processes keep a pipe open for minutes.
  $WINE_RUN "$WIN/bin/extract_bench.exe" 'C:\nuvra-extract-bench\' >"$WORK/bench.out" 2>&1 \
    || echo "extract_bench failed (exit $?)"
  end=$(date +%s.%N)
  tr -d '\r' <"$WORK/bench.out"
  printf '%-22s %8.3f s (whole Wine process, both runs and start-up)\n' "wine process" "$(awk "BEGIN{print $end - $start}")"

  echo "-- nuvra-pack unpack, native"
  /usr/bin/time -f "nuvra-pack unpack       %e s, peak RSS %M KiB" \
    "$PACK" unpack "$WORK/$profile.bin" "$WORK/$profile-unpacked" >/dev/null
  rm -rf "$WORK/$profile-payload" "$WORK/$profile-unpacked" "$WORK/$profile.bin" "$INSTALL_C"
done
# Leave the benchmark program with an empty package again.
: >"$BENCH_PACKAGE"

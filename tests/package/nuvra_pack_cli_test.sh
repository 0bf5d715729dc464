#!/bin/bash
# nuvra_pack_cli_test.sh NUVRA_PACK
# The command line itself: usage errors exit 1, bad input exits 2 naming
# the file, success exits 0, and the progress line appears only on a
# terminal.
set -uo pipefail
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # expect CODE DESCRIPTION -- COMMAND...
  local want=$1 what=$2; shift 3
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what: exit $got, expected $want"; cat "$work/err"; failures=$((failures + 1))
  fi
}

mkdir -p "$work/payload/sub"
for f in NuvraBrowser.exe NuvraUninstall.exe NuvraCtrl.exe sub/data.txt; do
  echo "$f" > "$work/payload/$f"
done
head -c 3000000 /dev/urandom > "$work/payload/sub/random.bin"

expect 0 "--help" -- "$tool" --help
grep -q "nuvra-pack pack DIR -o FILE" "$work/out" || { echo "FAIL: --help text"; failures=$((failures + 1)); }
expect 1 "no command" -- "$tool"
expect 1 "unknown command" -- "$tool" frobnicate
expect 1 "pack without -o" -- "$tool" pack "$work/payload"
expect 1 "unknown flag" -- "$tool" pack "$work/payload" -o "$work/p.bin" --fast
expect 1 "unpack without folder" -- "$tool" unpack "$work/p.bin"

expect 0 "pack" -- "$tool" pack "$work/payload" -o "$work/p.bin"
if [ -s "$work/err" ]; then echo "FAIL: pack wrote to stderr without a terminal"; cat -A "$work/err"; failures=$((failures + 1)); fi
expect 0 "verify" -- "$tool" verify "$work/p.bin"
expect 0 "list" -- "$tool" list "$work/p.bin"
grep -q '^        13  sub\\data.txt$' "$work/out" || { echo "FAIL: list line"; cat "$work/out"; failures=$((failures + 1)); }
expect 0 "unpack" -- "$tool" unpack "$work/p.bin" "$work/out-dir"
diff -r "$work/payload" "$work/out-dir" || { echo "FAIL: unpack differs"; failures=$((failures + 1)); }

expect 2 "verify a missing file" -- "$tool" verify "$work/missing.bin"
grep -q "missing.bin" "$work/err" || { echo "FAIL: error does not name the file"; failures=$((failures + 1)); }
head -c 100 "$work/p.bin" > "$work/short.bin"
expect 2 "verify a truncated package" -- "$tool" verify "$work/short.bin"
grep -q "short.bin" "$work/err" || { echo "FAIL: error does not name the file"; failures=$((failures + 1)); }

# On a terminal (script(1) gives one) the progress line shows.
if command -v script >/dev/null; then
  script -qec "'$tool' pack '$work/payload' -o '$work/tty.bin'" /dev/null > "$work/tty-out" 2>&1
  grep -q "compressing" "$work/tty-out" || { echo "FAIL: no progress on a terminal"; failures=$((failures + 1)); }
  cmp -s "$work/p.bin" "$work/tty.bin" || { echo "FAIL: output differs with progress"; failures=$((failures + 1)); }
fi

[ "$failures" -eq 0 ] && echo "all nuvra-pack command-line checks passed"
exit $((failures > 0))

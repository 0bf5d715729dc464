#!/bin/bash
# size-report.sh [BUILD_DIR]
#
# Prints the weight of the installer: NuvraSetup.exe, the install package
# embedded in it (BUILD_DIR/package/SetupPackage.bin) and the difference,
# which is the installer's own code, resources and skin art.  BUILD_DIR is
# the win32 build folder (default: build/win32 at the top of the tree).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/win32}
exe=$build/bin/NuvraSetup.exe
package=$build/package/SetupPackage.bin
aim_kb=100

if [ ! -f "$exe" ]; then
  echo "size-report: $exe not found; build the win32 preset first" >&2
  exit 1
fi

kb() { awk -v b="$1" 'BEGIN { printf "%.1f KB", b / 1024 }'; }

exe_bytes=$(stat -c %s "$exe")
if [ -f "$package" ]; then
  package_bytes=$(stat -c %s "$package")
  package_note=""
  [ "$package_bytes" -eq 0 ] && package_note="  (empty placeholder: no package embedded yet)"
else
  package_bytes=0
  package_note="  (not embedded yet: $package missing)"
fi
own_bytes=$((exe_bytes - package_bytes))

printf '%-28s %10d bytes  %s\n' "NuvraSetup.exe" "$exe_bytes" "$(kb "$exe_bytes")"
printf '%-28s %10d bytes  %s%s\n' "embedded package" "$package_bytes" "$(kb "$package_bytes")" "$package_note"
printf '%-28s %10d bytes  %s\n' "installer without package" "$own_bytes" "$(kb "$own_bytes")"
aim_bytes=$((aim_kb * 1024))
if [ "$own_bytes" -le "$aim_bytes" ]; then
  verdict="within the aim"
else
  verdict="over the aim by $(kb $((own_bytes - aim_bytes)))"
fi
echo "aim: about $aim_kb KB for the installer without its package, skin art included ($verdict)"

#!/bin/bash
# The main job: installs what is missing, builds the installer from the
# default sample payload and runs an installation under Wine.
#
# The installer window is not built yet, so NuvraSetup.exe starts, finds no
# window to show and ends with exit code 0.  The installation itself runs
# through run_steps.exe, which links the same engine and resources (the same
# embedded package) and runs the step list the window would start with its
# default options: 0, 1, 4, 5, 7, 8 (with 9 first when the browser runs).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
cmake --preset host
cmake --build --preset host
cmake --preset win32
cmake --build --preset win32

BUILD=build/win32
STATE=$BUILD/wine
RUN() { scripts/wine-run.sh "$STATE" "$@"; }

echo
bash scripts/size-report.sh "$BUILD"
"$BUILD/host-tools/nuvra-pack" verify "$BUILD/package/SetupPackage.bin"

echo
echo "== NuvraSetup.exe (the installer window is not built yet: it exits at once)"
RUN "$BUILD/bin/NuvraSetup.exe"
echo "exit code $?"

echo
echo "== installation with the default options (run_steps.exe, same engine and package)"
RUN "$BUILD/bin/run_steps.exe"

echo
echo "== what it left"
RUN reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\NuvraBrowser' | tr -d '\r'
dir=$(RUN reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\NuvraBrowser' /v InstallLocation |
      tr -d '\r' | sed -n 's/^ *InstallLocation *REG_SZ *//p')
unix_dir=$(RUN winepath -u "$dir" | tr -d '\r')
echo "install directory: $dir ($unix_dir)"
find "$unix_dir" -type f | sed "s|^$unix_dir||" | sort
echo
echo "links:"
find "$STATE/prefix/drive_c/users" \( -name '*.lnk' -o -name '*.url' \) | sed "s|^$STATE/prefix/drive_c/||" | sort
echo
echo "main job done; the browser started by the installation runs until: scripts/wine-run.sh $STATE --stop"

#!/bin/bash
# End-to-end installation under Wine with the real package of the build:
#   1. the default step list (0, 1, 4, 5, 7, 8) into a fresh directory whose
#      path holds a space;
#   2. the full list 9, 0, 1, 3, 4, 5, 7, 8 over it while the browser it
#      started is still running.
# Checks the installed files against the staged payload, the uninstall
# entry, the links, the browser's and the control program's traces.
#
#   install_e2e.sh BUILD_DIR [--keep]     (--keep leaves the installation)
set -u
BUILD=$(cd "${1:?usage: install_e2e.sh BUILD_DIR [--keep]}" && pwd)
KEEP=${2:-}
TOP=$(cd "$(dirname "$0")/../.." && pwd)
STATE=$BUILD/wine
RUN() { "$TOP/scripts/wine-run.sh" "$STATE" "$@"; }
PREFIX=$STATE/prefix
STAGE=$BUILD/payload-stage
DIR_WIN='C:\nuvra e2e\Nuvra Browser\'
DIR_UNIX="$PREFIX/drive_c/nuvra e2e/Nuvra Browser"
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\NuvraBrowser'
TRACE_KEY='HKCU\SOFTWARE\NuvraBrowser\Trace'

passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok:   $what"
  else failed=$((failed + 1)); echo "FAIL: $what"; fi
}

reg_value() {  # reg_value KEY NAME -> the data of a REG_SZ value
  RUN reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_SZ *//p"
}

wait_for_trace() {  # wait_for_trace NAME EXPECTED
  for _ in $(seq 1 50); do
    [ "$(reg_value "$TRACE_KEY" "$1")" = "$2" ] && return 0
    sleep 0.2
  done
  return 1
}

links_named() { find "$PREFIX/drive_c/users" -name "$1" 2>/dev/null | wc -l; }
# links_at PATTERN -> how many files under the users' folders match it
# (find -path: '*' also matches '/'); per-user folders only, so 1 each.
links_at() { find "$PREFIX/drive_c/users" -path "$1" 2>/dev/null | wc -l; }

browsers_running() {  # NuvraBrowser.exe processes of this prefix (other trees run their own)
  local n=0 pid
  for pid in $(pgrep -f 'NuvraBrowser\.exe'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$PREFIX" && n=$((n + 1))
  done
  echo $n
}

reset_state() {
  RUN taskkill /f /im NuvraBrowser.exe >/dev/null 2>&1
  RUN reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1
  RUN reg delete "$TRACE_KEY" /f >/dev/null 2>&1
  find "$PREFIX/drive_c/users" \( -name 'Nuvra游戏浏览器.lnk' -o -name '卸载Nuvra游戏浏览器.lnk' \) -delete 2>/dev/null
  rm -rf "$PREFIX/drive_c/nuvra e2e"
}

RUN --start || { echo "cannot start Wine"; exit 1; }
reset_state

echo "== first installation: default steps"
run_steps() {  # run_steps ARGS... -> sets $out and $rc
  RUN "$BUILD/bin/run_steps.exe" "$@" >"$STATE/e2e.out" 2>&1
  rc=$?
  out=$(tr -d '\r' <"$STATE/e2e.out")
}

run_steps --dir "$DIR_WIN"
echo "$out"
check "default list succeeds" [ $rc -eq 0 ]
check "steps 0 1 4 5 7 8 reported in order" \
  [ "$(echo "$out" | sed -n 's/^step \([0-9]*\): ok$/\1/p' | tr '\n' ' ')" = "0 1 4 5 7 8 " ]
check "installed files equal the payload" diff -r "$STAGE" "$DIR_UNIX"
check "no package copy left" [ ! -e "$DIR_UNIX/SetupPacket.7z" ]
check "InstallLocation is the install directory" \
  [ "$(reg_value "$UNINSTALL_KEY" InstallLocation)" = "$DIR_WIN" ]
check "UninstallString is quoted (path with a space)" \
  [ "$(reg_value "$UNINSTALL_KEY" UninstallString)" = "\"${DIR_WIN}NuvraUninstall.exe\"" ]
GROUP='*/Start Menu/Programs/Nuvra软件中心/Nuvra游戏浏览器'
check "browser link at the top of Programs" [ "$(links_at '*/Start Menu/Programs/Nuvra游戏浏览器.lnk')" -eq 1 ]
check "browser link in the Programs group" [ "$(links_at "$GROUP/Nuvra游戏浏览器.lnk")" -eq 1 ]
check "uninstall link in the Programs group" [ "$(links_at "$GROUP/卸载Nuvra游戏浏览器.lnk")" -eq 1 ]
check "browser link on the user's desktop" [ "$(links_at '*/Desktop/Nuvra游戏浏览器.lnk')" -eq 1 ]
check "browser link in Quick Launch" [ "$(links_at '*/Quick Launch/Nuvra游戏浏览器.lnk')" -eq 1 ]
check "no other browser links" [ "$(links_named 'Nuvra游戏浏览器.lnk')" -eq 4 ]
check "browser started with -Setup" wait_for_trace NuvraBrowser.exe "-Setup"

echo "== second installation over it: 9, 0, 1, 3, 4, 5, 7, 8 with the browser running"
RUN reg delete "$TRACE_KEY" /f >/dev/null 2>&1
check "the first browser is running" [ "$(browsers_running)" -eq 1 ]
run_steps --dir "$DIR_WIN" --steps 9,0,1,3,4,5,7,8
echo "$out"
check "full list succeeds" [ $rc -eq 0 ]
check "all eight steps reported" [ "$(echo "$out" | grep -c ': ok$')" -eq 8 ]
check "installed files still equal the payload" diff -r "$STAGE" "$DIR_UNIX"
check "control program asked to set the default browser" wait_for_trace NuvraCtrl.exe "/SetDefBrowser"
check "browser started again with -Setup" wait_for_trace NuvraBrowser.exe "-Setup"
check "step 9 ended the first browser: one is running" [ "$(browsers_running)" -eq 1 ]

[ "$KEEP" = "--keep" ] || reset_state
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]

#!/bin/bash
# wine-run.sh STATE_DIR --start | --stop | --flush | EXE [ARGS...]
#
# Runs a cross-built Windows program under Wine in one 32-bit prefix kept
# in STATE_DIR/prefix, with a virtual display (Xvfb) of its own.
#   --start  boots the prefix (once; later calls reuse it), starts the display
#            and a persistent Wine server, so that each test run pays the boot
#            cost only once.
#   --flush  waits until the Wine server has ended and so has written the
#            registry files (user.reg, system.reg) that host-side checks read.
#   --stop   ends the Wine server (flushing the registry) and the display.
#   EXE ...  runs EXE with ARGS and returns its exit code; starts what is
#            missing first.
set -u
STATE=${1:?usage: wine-run.sh STATE_DIR --start|--stop|--flush|EXE [ARGS...]}
shift
mkdir -p "$STATE"
STATE=$(cd "$STATE" && pwd)

export WINEPREFIX=$STATE/prefix
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No host desktop entries for test shortcuts; no Mono/Gecko install prompts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

xvfb_alive() {
  [ -f "$STATE/xvfb.pid" ] && kill -0 "$(cat "$STATE/xvfb.pid")" 2>/dev/null
}

start_display() {
  xvfb_alive && return 0
  rm -f "$STATE/display"
  # -displayfd picks a free display number and writes it to fd 3.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac \
    3>"$STATE/display" </dev/null >"$STATE/xvfb.log" 2>&1 &
  echo $! >"$STATE/xvfb.pid"
  for _ in $(seq 1 100); do
    [ -s "$STATE/display" ] && return 0
    sleep 0.1
  done
  echo "wine-run: Xvfb did not start (see $STATE/xvfb.log)" >&2
  return 1
}

boot_prefix() {
  [ -f "$WINEPREFIX/.nuvra-ready-2" ] && return 0
  rm -rf "$WINEPREFIX"
  wineboot --init </dev/null >"$STATE/boot.log" 2>&1 || {
    echo "wine-run: wineboot failed (see $STATE/boot.log)" >&2; return 1; }
  # Chinese text: the skin asks for the face "宋体"; render it with the CJK
  # font installed on the host.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '宋体' /t REG_SZ \
    /d 'WenQuanYi Zen Hei' /f </dev/null >>"$STATE/boot.log" 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'SimSun' /t REG_SZ \
    /d 'WenQuanYi Zen Hei' /f </dev/null >>"$STATE/boot.log" 2>&1
  # Wine links the user's Desktop, Documents and so on to the host's home
  # folder; tests write shortcuts there, so give the prefix folders of its
  # own instead.
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
  done
  wineserver -w
  touch "$WINEPREFIX/.nuvra-ready-2"
}

start_all() {
  (
    flock 9
    # Closing fd 9 in what we start keeps a long-lived server or display from
    # holding the lock after this call returns.
    boot_prefix 9>&- || exit 1
    start_display 9>&- || exit 1
    # A persistent server keeps later process starts cheap; it ends by
    # itself a while after the last Wine process.
    wineserver -p300 </dev/null >/dev/null 2>&1 9>&- || true
    # Wine's system processes (services.exe, winedevice.exe, ...) start with
    # the first program and live as long as the server.  Started from here
    # they hold no caller's output open: started by a test program they would
    # keep its stderr pipe open, and ctest would wait for the server to end.
    DISPLAY=":$(cat "$STATE/display")" wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
  ) 9>"$STATE/lock"
}

case "${1:-}" in
  --start)
    start_all
    exit $? ;;
  --flush)
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    exit 0 ;;
  --stop)
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    if xvfb_alive; then kill "$(cat "$STATE/xvfb.pid")"; fi
    rm -f "$STATE/xvfb.pid" "$STATE/display"
    exit 0 ;;
  "")
    echo "usage: wine-run.sh STATE_DIR --start|--stop|--flush|EXE [ARGS...]" >&2
    exit 1 ;;
esac

start_all || exit 1
export DISPLAY=":$(cat "$STATE/display")"
# Wine starts helpers of its own (the desktop process, services) from the
# first program that needs them, and they inherit that program's output and
# live as long as the server.  Handing them a file instead of our caller's
# pipe keeps ctest (or a shell pipe) from waiting for them to end.
out=$(mktemp "$STATE/out.XXXXXX")
wine "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc

#!/usr/bin/env bash
# Walks the Windows program through its steps under Wine, with a simulated
# device in process, and saves a screenshot of each step (and of the about
# box and the message boxes) into <build dir>/screenshots-win32/; then starts
# the program itself and drives it with key presses as far as it goes
# without a device (real-*.png).
# Usage: scripts/screenshots_wine.sh [build dir, default build/windows]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
exe=$build/tests/win32/win32_walkthrough.exe
if [ ! -f "$build/CMakeCache.txt" ]; then
  scripts/setup.sh  # the packages; the Windows build itself follows
  cmake --preset windows -B "$build" >/dev/null
fi
cmake --build "$build" -j2 --target win32_walkthrough Kst90VIIMj3_5Daz

out=$build/screenshots-win32
rm -rf "$out"
mkdir -p "$out"
export WINEDEBUG=-all
# A prefix of its own, drawing its windows on a Wine desktop so that their
# frames and captions show (a bare X display has no window manager to draw them).
export WINEPREFIX=$PWD/$build/wineprefix-screenshots
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
  wineserver -w
fi

# The walkthrough writes NN-name.ready at each checkpoint and waits for
# NN-name.done: take the shot in between.
status=0
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  out=$1 exe=$2
  wine "$exe" "$(winepath -w "$out")" &
  walk=$!
  while kill -0 "$walk" 2>/dev/null; do
    for ready in "$out"/*.ready; do
      [ -e "$ready" ] || continue
      import -window root "${ready%.ready}.png"
      mv "$ready" "${ready%.ready}.done"
    done
    sleep 0.2
  done
  wait "$walk"; status=$?
  wineserver -w
  exit $status' screenshots "$out" "$exe" || status=$?
rm -f "$out"/*.done

# The program itself, with real key presses: English from the settings file,
# Alt+N to the port step (Wine's own serial ports), Alt+A for the about box,
# Enter to close it, Alt+X to quit.
settings=$WINEPREFIX/drive_c/windows/ZerbiumV1.CFG
printf 'Mode=3;Langue=1;' >"$settings"
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  out=$1 exe=$2
  wine "$exe" &
  program=$!
  sleep 8
  import -window root "$out/real-1-step1-en.png"
  for step in 2 3 4 5; do xdotool key alt+n; sleep 1.5; done
  import -window root "$out/real-2-step5.png"
  xdotool key alt+a; sleep 2
  import -window root "$out/real-3-about.png"
  xdotool key Return; sleep 1
  xdotool key alt+x; sleep 3
  if kill -0 "$program" 2>/dev/null; then
    echo "the program did not end on Alt+X" >&2
    wineserver -k
    exit 1
  fi
  wineserver -w' real "$out" "$build/app/Kst90VIIMj3_5Daz.exe" || status=1
rm -f "$settings"
ls "$out"
exit $status

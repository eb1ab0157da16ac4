#!/usr/bin/env bash
# Takes the README's screenshots: the real program on a virtual X display (no window
# manager, so no frame), against the installed thesaurus data, after a Generate of
# "bright morning" at "Verbarium", driven with the keyboard as a user would.
#
#     tools/screenshots.sh [BUILD_DIR]
#
# Writes docs/main-window.png (style "Luna", the start style),
# docs/main-window-dark.png (style "Carbon") and docs/meanings-panel.png (a click on
# "bright" in the first column: its meanings in the Info panel). Needs xvfb and
# xdotool (scripts/setup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BUILD_DIR:-$root/build}}
program="$build/app/verbarium-pro"
[ -x "$program" ] || { echo "screenshots: $program is not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
# A fresh home: no stored font, delimiter or placement of the user's.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"
export VERBARIUM_SETTINGS_FILE="$work/home/verbarium-pro.ini" VERBARIUM_REGISTRY_FILE="$work/home/registry.ini"
mkdir -p "$HOME"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x900x24 -fbdir "$work" -nolisten tcp &
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

shoot() { # style name ("" for the start style), output file, [x y of a click in the window]
  local style=$1 out=$2 click_x=${3:-} click_y=${4:-}
  "$program" &
  local pid=$!
  local window
  window=$(xdotool search --sync --onlyvisible --name '^Verbarium Pro v\. ' | head -n 1)
  echo "window title (_NET_WM_NAME): $(xprop -id "$window" _NET_WM_NAME | cut -d= -f2-)"
  sleep 2
  # No window manager: the keyboard goes to the window once it is given the focus,
  # and the pointer is parked where it lights nothing up.
  xdotool mousemove 1279 899 windowfocus --sync "$window"
  sleep 0.5
  # The window starts with the focus on its tab strip; the phrase box comes next.
  xdotool key Tab
  xdotool type --delay 20 'bright morning'
  xdotool key Tab
  xdotool type --delay 20 'Verbarium'
  if [ -n "$style" ]; then
    # Settings tab, the style list, then back to the thesaurus tool.
    xdotool key ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab Tab
    xdotool type --delay 20 "$style"
    xdotool key Tab ctrl+Tab
  fi
  xdotool key ctrl+Return
  sleep 3
  if [ -n "$click_x" ]; then
    xdotool mousemove --window "$window" "$click_x" "$click_y" click 1
    sleep 1
    xdotool mousemove 1279 899
    sleep 0.5
  fi
  local geometry
  geometry=$(xdotool getwindowgeometry --shell "$window")
  python3 "$root/tools/xwd-crop-png.py" "$work/Xvfb_screen0" "$out" $(echo "$geometry" | grep -E '^(X|Y|WIDTH|HEIGHT)=' | cut -d= -f2)
  echo "wrote $out"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

shoot "" "$root/docs/main-window.png"
shoot "Carbon" "$root/docs/main-window-dark.png"
# The word "bright", fourth in the first column.
shoot "" "$root/docs/meanings-panel.png" 40 187

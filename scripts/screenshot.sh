#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: screenshot.sh PROGRAM OUTPUT.png
# Shows the program on a virtual screen with a window manager, picks the tile 2:5 as a pupil
# would (a click in the list, then the keys) and saves a picture of the window, frame included.
set -euo pipefail
program=$1
output=$2

pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the pipe.
displayfile=$(mktemp)
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$displayfile" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$displayfile")"
rm -f "$displayfile"

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

QT_QPA_PLATFORM=xcb "$program" &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --pid "${pids[-1]}" | head -n1)
sleep 0.5

# The first row of the list, then "2" (jumps to 2:2) and three steps down.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --sync $((X + 16 + 20)) $((Y + 32 + 8)) click 1
xdotool key --delay 50 2 Down Down Down
sleep 0.5

import -silent -frame -window "$window" "$output"

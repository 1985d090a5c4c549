#!/usr/bin/env bash
# The game in a real X window under Xvfb: after about a second the caption
# carries the frame statistics; Escape ends it with exit code 0, and so does
# closing the window.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

start_display || exit 1
workdir=$(mktemp -d)
trap 'stop_game; stop_display; rm -rf "$workdir"' EXIT

# Escape.
start_game "$game" "$workdir" || exit 1
sleep 1.2
title=$(window_title)
if ! [[ "$title" =~ ^Vorn\ 110520\ FPS=[0-9]+\ MDT=[0-9]+(\.[0-9]+)?$ ]]; then
  echo "unexpected caption: '$title'"; exit 1
fi
press_key Escape
wait_game 10 || { echo "game did not end after Escape"; exit 1; }
[ "$game_rc" -eq 0 ] || { echo "exit code after Escape: $game_rc"; exit 1; }

# Closing the window (SDL turns SIGTERM into the same quit event).
start_game "$game" "$workdir" || exit 1
sleep 0.5
kill -TERM "$game_pid"
wait_game 10 || { echo "game did not end after the close request"; exit 1; }
[ "$game_rc" -eq 0 ] || { echo "exit code after closing: $game_rc"; exit 1; }
echo "window caption and both ways of ending: ok"

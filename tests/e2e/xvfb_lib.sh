# Helpers for end-to-end tests: an Xvfb display of their own, the game in a
# real window on it, and keys sent with xdotool. Sourced, not run.

start_display() {
  # Xvfb picks a free display number itself and writes it to the file.
  local numfile i
  numfile=$(mktemp)
  # -noreset: without it the server resets whenever its last client leaves
  # (the readiness probe, a finished game), and a client connecting just
  # then is turned away.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for i in $(seq 100); do
    if [ -s "$numfile" ]; then
      export DISPLAY=":$(tr -d '[:space:]' <"$numfile")"
      rm -f "$numfile"
      for i in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
      done
      break
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numfile"
  echo "could not start Xvfb"
  return 1
}

stop_display() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}

# start_game BINARY WORKDIR [ARGS...]: runs the game in WORKDIR, waits for its window.
start_game() {
  local game="$1" dir="$2"
  shift 2
  (cd "$dir" && exec "$game" "$@") &
  game_pid=$!
  local i
  for i in $(seq 100); do
    window_id=$(xdotool search --pid "$game_pid" --name '^Vorn' 2>/dev/null | head -n 1)
    [ -n "$window_id" ] && return 0
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the game's window did not appear"
  return 1
}

window_title() { xdotool getwindowname "$window_id" 2>/dev/null; }

# Xvfb has no window manager: keys go to the window under the pointer.
pointer_into_window() { xdotool mousemove --window "$window_id" 400 300 >/dev/null 2>&1; }

press_key() {
  pointer_into_window
  sleep 0.1
  xdotool key "$1"
}

# wait_game SECONDS: once the game has ended, sets game_rc to its exit code;
# fails when it is still running after SECONDS.
wait_game() {
  local limit=$(( $1 * 10 )) i
  for i in $(seq "$limit"); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"
      game_rc=$?
      game_pid=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

stop_game() {
  [ -n "${game_pid:-}" ] && kill -KILL "$game_pid" 2>/dev/null
  game_pid=""
}

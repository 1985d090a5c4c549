# Helpers for end-to-end tests: an Xvfb display of their own, the game in a
# real window on it, and keys sent with xdotool. Sourced, not run.

start_display() {
  # Xvfb picks a free display number itself and writes it to the file; its
  # screen is XVFB_SCREEN when a test sets it.
  # Without -noreset it resets whenever its last client leaves, and a game
  # connecting during that reset cannot open the display.
  local numfile i j
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for i in $(seq 100); do
    if [ -s "$numfile" ]; then
      export DISPLAY=":$(tr -d '[:space:]' <"$numfile")"
      # A real window or a clear failure: never SDL's fallback to the terminal.
      export SDL_VIDEODRIVER=x11
      # The machine's sound devices play no part; a test that listens picks
      # SDL's disk driver itself.
      export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
      rm -f "$numfile"
      for j in $(seq 50); do
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

# find_window: sets window_id to the game's window, the one with its caption
# (SDL2 also makes windows of its own without one); fails while there is none.
find_window() {
  window_id=$(xdotool search --all --pid "$game_pid" --name '^Vorn' 2>/dev/null | tail -n 1)
  [ -n "$window_id" ]
}

# With VORN_EXPECT_SDL2 set (the run on sdl12-compat), the game must have
# SDL2 loaded: otherwise the test would quietly check classic SDL 1.2 again.
check_sdl_in_use() {
  [ -z "${VORN_EXPECT_SDL2:-}" ] && return 0
  grep -q 'libSDL2-2\.0\.so' "/proc/$game_pid/maps" 2>/dev/null && return 0
  echo "the game runs without SDL2: sdl12-compat is not the SDL 1.2 in use"
  return 1
}

# start_game BINARY WORKDIR [ARGS...]: runs the game in WORKDIR, waits for its window.
start_game() {
  local game="$1" dir="$2"
  shift 2
  (cd "$dir" && exec "$game" "$@") &
  game_pid=$!
  local i
  for i in $(seq 100); do
    find_window && { check_sdl_in_use; return; }
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
  if [ -n "${game_pid:-}" ] && kill -KILL "$game_pid" 2>/dev/null; then
    wait "$game_pid" 2>/dev/null
  fi
  game_pid=""
}

fail() { echo "FAIL: $*"; exit 1; }

# begin_test: a display of the test's own and an empty working directory
# (workdir), both gone when the script ends, with the game if it still runs.
begin_test() {
  start_display || exit 1
  workdir=$(mktemp -d)
  trap 'stop_game; stop_display; rm -rf "$workdir"' EXIT
  # The user's own settings (~/.config/vorn) stay out of the tests.
  export XDG_CONFIG_HOME="$workdir/no-user-settings"
}

# Input helpers that leave the pointer where it is: move it into the window
# first (mouse_move), since keys go to the window under it.
mouse_move() { xdotool mousemove --window "$window_id" "$1" "$2" >/dev/null 2>&1; }
key_down() { xdotool keydown "$1"; }
key_up() { xdotool keyup "$1"; }
mouse_down() { xdotool mousedown "$1"; }
mouse_up() { xdotool mouseup "$1"; }

# take_screenshot DIR: presses p and waits (at most 5 s) for a screenshot
# file that was not in DIR before; sets shot to its path.
take_screenshot() {
  local dir="$1" before="" f
  for f in "$dir"/screenshot-*.bmp; do before+=" $f "; done
  xdotool key p
  for _ in $(seq 50); do
    sleep 0.1
    for f in "$dir"/screenshot-*.bmp; do
      [ -e "$f" ] || continue
      [[ "$before" == *" $f "* ]] && continue
      shot="$f"
      return 0
    done
  done
  echo "no screenshot appeared in $dir"
  return 1
}

# bmp_size FILE: prints the width and height in the BMP's info header.
bmp_size() { od -An -v -tu4 -j18 -N8 "$1" | tr -s ' ' | sed 's/^ //'; }

# bmp_pixels FILE W H Y0 Y1: prints "x y AARRGGBB" for every pixel of screen
# rows Y0..Y1 of a 32-bit bottom-up BMP of W x H pixels, bottom row first.
bmp_pixels() {
  local file="$1" w="$2" h="$3" y0="$4" y1="$5"
  # Screen row y is stored as file row h-1-y, so rows Y1..Y0 are one block.
  tail -c +$((54 + 1 + (h - 1 - y1) * w * 4)) "$file" | head -c $(((y1 - y0 + 1) * w * 4)) |
    od -An -v -tx4 -w4 |  # on this little-endian machine a word reads AARRGGBB
    awk -v w="$w" -v y1="$y1" '{ i = NR - 1; print i % w, y1 - int(i / w), $1 }'
}

# bmp_differing_pixels A B W H: counts the pixels of screen rows 18 and below
# (everything under the status bar) that differ between two W x H screenshots.
bmp_differing_pixels() {
  local bytes=$(( 54 + ($4 - 18) * $3 * 4 ))
  cmp -l -n "$bytes" "$1" "$2" | awk '{ print int(($1 - 55) / 4) }' | uniq | wc -l
}

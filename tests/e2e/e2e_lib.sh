# Shared by the end-to-end tests: a sample game in a folder of its own, a
# private X server, the editor started on a map with a fresh profile, and
# helpers to wait for windows and look at the screen. Sourced as
#   source e2e_lib.sh MAPTESK MAPTESK_CLI
# Exits 77 (skipped) when Xvfb, xdotool or ImageMagick are missing.
editor=$1
cli=$2
for tool in Xvfb xdotool import convert cmp; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
display=:$((90 + RANDOM % 400))
cleanup() {
  [ -n "${editor_pid:-}" ] && kill "$editor_pid" 2>/dev/null || true
  [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  [ -n "${E2E_SHOTS:-}" ] && import -window root "$E2E_SHOTS/failed-$(basename "$0" .sh).png"
  exit 1
}

"$cli" sample "$work/game" >/dev/null
# -noreset: the server must outlive each editor the test starts.
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
x_pid=$!
export DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
unset QT_QPA_PLATFORM

# Starts the editor on a map and waits for its window.
start_editor() {
  "$editor" "$1" &
  editor_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "Tesk Map Tool" | head -n 1)
  [ -n "$window" ] || fail "the editor's window did not show"
  sleep 1
}

# Waits until a visible window's title matches (extended regex); its id.
wait_window() {
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { sleep 0.3; echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Whether a visible window's title matches now.
has_window() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# Waits for the editor to end; fails if it does not.
wait_exit() {
  for _ in $(seq 50); do kill -0 "$editor_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$editor_pid" 2>/dev/null && fail "$1"
  editor_pid=
}

# Points at hex (7,7), an Ocean hex of ARDEN.MAP, and clicks it: without a
# window manager the window takes the keyboard at its first click.
point_at_sea() {
  xdotool mousemove --window "$window" 300 400
  sleep 0.3
  xdotool click 1
}
# Steps the terrain to set from Clear to Mountain (6) with '+'.
choose_mountain() { for _ in 1 2 3 4 5 6; do xdotool key plus; done; }

shot() { import -window root "$work/$1.png"; }
# The mean brightness of a part of the screen.
mean() { convert "$work/$1.png" -crop "$2" -colorspace gray -format "%[fx:mean]" info:; }
pixel() { convert "$work/$1.png" -format "%[pixel:p{$2}]" info:; }

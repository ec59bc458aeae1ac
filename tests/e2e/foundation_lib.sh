# Shared steps of the foundation's end-to-end tests: start the real game on the
# test's X display, find its window, read its geometry, stop it.
set -euo pipefail

: "${BM_BIN:?BM_BIN must name the burrowmere binary}"
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
BM_TMP=$(mktemp -d)
BM_PIDS=()

bm_cleanup() {
  for pid in "${BM_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${BM_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$BM_TMP"
}
trap bm_cleanup EXIT

bm_fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the game from an unrelated folder; sets BM_PID.
bm_start() {
  ( cd "$BM_TMP" && exec "$BM_BIN" ) >"$BM_TMP/game.log" 2>&1 &
  BM_PID=$!
  BM_PIDS+=("$BM_PID")
}

# Prints the id of the first window whose name matches $1, waiting up to $2 seconds.
bm_wait_window() {
  local pattern="$1" limit="${2:-10}" id=""
  for _ in $(seq 1 $((limit * 10))); do
    id=$(xdotool search --name "$pattern" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Prints "X Y W H" of a window.
bm_geometry() {
  local info
  info=$(xwininfo -id "$1")
  echo "$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")" \
       "$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")" \
       "$(awk '/^ *Width/ {print $2}' <<<"$info")" \
       "$(awk '/^ *Height/ {print $2}' <<<"$info")"
}

# CPU time (clock ticks) the process has used so far.
bm_cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Waits up to $2 seconds for a process of ours to end; sets BM_RC to its exit code.
bm_wait_exit() {
  local pid="$1" limit="${2:-10}"
  for _ in $(seq 1 $((limit * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && return 1
  BM_RC=0
  wait "$pid" || BM_RC=$?
}

# Presses a key long enough for a frame to see it held.
bm_hold_key() { xdotool keydown "$1"; sleep 0.25; xdotool keyup "$1"; sleep 0.25; }

#!/bin/bash
# Takes screenshots of the menu, credits, the game, help and skills at two window
# sizes for reviewing the art. Usage: screenshots.sh <build dir> <output dir>
set -u
BUILD=${1:?build dir}
OUT=${2:?output dir}
mkdir -p "$OUT"

# Window point for a point of the game's 512 x 512 space (y up).
at() { echo $(( $1 * W / 512 )) $(( H - $2 * H / 512 )); }

shoot() {
    local display=$1
    W=$2 H=$3
    Xvfb ":$display" -screen 0 "${W}x${H}x24" >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    export DISPLAY=":$display"
    (cd "$BUILD" && ALSOFT_DRIVERS=null ./burrowmere >/dev/null 2>&1) &
    local game=$!
    sleep 3
    local tag="${W}x${H}"
    xdotool mousemove $(at 256 300); sleep 0.5
    import -window root "$OUT/menu_$tag.png"
    xdotool mousemove $(at 256 170) click 1; sleep 1
    import -window root "$OUT/credits_$tag.png"
    xdotool mousemove $(at 470 470) click 1; sleep 1
    xdotool mousemove $(at 256 230) click 1; sleep 4
    xdotool mousemove $(at 256 300); sleep 0.5
    import -window root "$OUT/game_$tag.png"
    xdotool key F1; sleep 1
    import -window root "$OUT/game_windowed_$tag.png"
    kill "$game" 2>/dev/null; wait "$game" 2>/dev/null
    kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null
}

shoot 91 1920 1080
shoot 92 640 480
echo "screenshots in $OUT"

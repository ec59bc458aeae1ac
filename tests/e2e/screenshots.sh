#!/usr/bin/env bash
# A person's check of the art, not part of the suite: runs the game full screen
# under its own Xvfb at 1920 x 1080 and again at 640 x 480, drives it through every
# screen and the game's events, and saves screenshots to look at.
#   tests/e2e/screenshots.sh BUILD_DIR OUTPUT_DIR [SIZE ...]
# BUILD_DIR holds burrowmere and Data/ (targets burrowmere and data); SIZE defaults
# to "1920x1080 640x480". Pictures are named NN-what_WxH.png. Each size gets its
# own X server, on displays counting up from BM_SHOT_DISPLAY (default 91); on a
# shared machine set it to numbers nobody else uses.
set -u
BUILD=$(cd "${1:?usage: screenshots.sh BUILD_DIR OUTPUT_DIR [SIZE ...]}" && pwd)
OUT=${2:?usage: screenshots.sh BUILD_DIR OUTPUT_DIR [SIZE ...]}
shift 2
SIZES=${*:-1920x1080 640x480}
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
E2E=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# One run of the game at one screen size; a subshell so each run has its own game
# folder (an empty record, no developer mode yet) and its own cleanup.
session() (
    local size=$1 display=$2
    local W=${size%x*} H=${size#*x}
    Xvfb ":$display" -screen 0 "${W}x${H}x24" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$display"
    for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    export BM_BIN=$BUILD/burrowmere ALSOFT_DRIVERS=null
    source "$E2E/frame_lib.sh"
    set +e
    trap 'fr_cleanup; kill $XVFB_PID 2>/dev/null; wait $XVFB_PID 2>/dev/null' EXIT

    local step=0
    shot() {
        step=$((step + 1))
        fr_shot "$OUT/$(printf '%02d' "$step")-${1}_${size}.png"
        echo "  $(printf '%02d' "$step")-${1}_${size}.png"
    }
    # A burst of pictures, to catch things that move (a dive, a carried carrot).
    burst() {
        local what=$1 count=$2 gap=$3
        for i in $(seq 1 "$count"); do
            fr_shot "$OUT/$(printf '%02d' "$((step + 1))")-${what}-$(printf '%02d' "$i")_${size}.png"
            sleep "$gap"
        done
        step=$((step + 1))
        echo "  $(printf '%02d' "$step")-${what}-1..${count}_${size}.png"
    }
    at() { fr_virtual "$1" "$2"; }
    # Pointer rests over the sky's left side, clear of every button.
    rest() { xdotool mousemove $(at 120 300); sleep "${1:-0.3}"; }
    fetch_all() {
        fr_shot "$FR_TMP/now.png"
        read -r _ row < <(at 0 205)
        for x in $(fr_carrots "$FR_TMP/now.png"); do fr_click "$x" "$row"; done
    }

    echo "$size:"
    fr_start
    # The pointer over the play button shows where the arrow's tip sits.
    xdotool mousemove $(at 256 230); sleep 0.5
    shot menu
    fr_click_button menu.gui 3; rest 0.5
    xdotool mousemove $(at 256 60); sleep 0.3
    shot credits
    fr_click_button credits.gui 1

    # A plain game first: the first hint comes a second in, and the skills screen
    # still has prices to show.
    fr_click_button menu.gui 2; rest 1.2
    shot game-hint
    fetch_all; rest 12
    shot tray-prices
    fr_click_button interface.gui 111; rest 0.5
    shot skills
    fr_click_button skills.gui 16
    fr_click_button interface.gui 107; rest 0.5
    shot help
    fr_click_button help_0.gui 1; rest 0.3
    fr_click_button interface.gui 121; rest 0.3

    # Developer mode: 53 clicks on the menu rabbit give 99 carrots and every skill.
    # A slow frame can miss a click, so go on clicking until the menu's dedication
    # line (white text low on the dark green) gives way to the developer line.
    dedication_shown() {
        fr_shot "$FR_TMP/now.png"
        read -r x0 y0 < <(at 200 12)
        read -r x1 y1 < <(at 312 6)
        [ "$(convert "$FR_TMP/now.png" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" -colorspace gray \
            -format '%[fx:maxima > 0.8]' info:)" = 1 ]
    }
    read -r rx ry < <(at 256 320)
    for i in $(seq 1 90); do
        xdotool mousemove "$rx" "$ry" mousedown 1; sleep 0.1; xdotool mouseup 1; sleep 0.08
        [ "$i" -ge 53 ] && ! dedication_shown && break
    done
    shot menu-developer
    fr_click_button menu.gui 2; rest 0.5
    shot tray-full-purse

    # More rabbits (the + of the starting hole), then out to the carrots and home.
    for _ in 1 2 3 4 5 6; do fr_click_button interface.gui 71; done
    rest 0.3
    shot bought-rabbits
    fetch_all; rest 0.3
    burst rabbits-both-ways 8 0.25

    # Pointer pictures over the meadow in each mode.
    fr_key b; xdotool mousemove $(at 150 210); sleep 0.4
    shot pointer-bait
    # A press can fall between slow frames: place the bait again until the game is
    # back in move mode, its move button lit yellow rather than cream.
    for _ in 1 2 3; do
        fr_click $(at 150 210); rest 1
        fr_shot "$FR_TMP/now.png"
        read -r bx by < <(fr_button interface.gui 108)
        read -r _ _ blue < <(fr_pixel "$FR_TMP/now.png" $((bx - FR_W * 8 / 512)) $((by - FR_H * 3 / 512)))
        [ "$blue" -lt 128 ] && break
        fr_key b; xdotool mousemove $(at 150 210); sleep 0.4
    done
    shot bait-glow
    fr_key g; rest 0.5
    shot build-sites
    xdotool mousemove $(at 110 136); sleep 0.4
    shot build-pointer
    fr_key r; rest 0.3

    # Take every carrot of the first wave so the eagles come.
    for _ in 1 2 3 4 5 6; do fetch_all; rest 1.5; done
    burst eagles 16 0.5
    fetch_all; rest 0.5
    burst eagles-late 10 0.5

    # Sacrifice every rabbit as bait until the colony is gone.
    for _ in 1 2; do
        for target in 114 115 116 117 118 119 113; do
            fr_click_button interface.gui "$target"
            for _ in 1 2 3 4 5 6; do
                fr_key b
                fr_click $(at $((60 + RANDOM % 400)) 210)
            done
        done
    done
    burst baits-and-eagles 6 0.6
    sleep 8
    shot game-over
    fr_click_button interface.gui 121; rest 0.5
    shot menu-after-loss
    fr_quit
    fr_wait_exit 10
)

display=${BM_SHOT_DISPLAY:-91}
for size in $SIZES; do
    session "$size" "$display"
    display=$((display + 1))
done
echo "screenshots in $OUT"

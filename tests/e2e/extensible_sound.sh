#!/usr/bin/env bash
# A sound saved in the extensible WAV layout, as many sound editors write PCM, plays:
# the jingle the game sounds at loading, rewritten so, is heard in the recording of
# the sound device. Cut short, the same file leaves the game silent and running.
source "$(dirname "$0")/frame_lib.sh"
data=$(dirname "$BM_BIN")/Data
rm "$FR_GAME/Data" && mkdir -p "$FR_GAME/Data/sFx"
for entry in "$data"/*; do [ "$(basename "$entry")" = sFx ] || ln -s "$entry" "$FR_GAME/Data/"; done
for sound in "$data"/sFx/*; do ln -s "$sound" "$FR_GAME/Data/sFx/"; done
jingle=$FR_GAME/Data/sFx/powerup.wav
rm "$jingle"
"$FR_PY" - "$data/sFx/powerup.wav" "$jingle" <<'EOF'
import struct, sys, wave
with wave.open(sys.argv[1]) as w:
    channels, width, rate, frames = w.getnchannels(), w.getsampwidth(), w.getframerate(), w.readframes(w.getnframes())
pcm = b"\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71"
fmt = struct.pack("<HHIIHHHHI", 0xFFFE, channels, rate, rate * channels * width, channels * width, 8 * width,
                  22, 8 * width, 4 if channels == 1 else 3) + pcm
body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(frames)) + frames
open(sys.argv[2], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
EOF

heard() { HEARD=$("$FR_PY" "$FR_E2E/heard.py" "$FR_TMP/out.wav" "$data/sFx/powerup.wav"); }
jingle_heard() { heard && [ -n "$(sed -n 's/^powerup.wav //p' <<<"$HEARD")" ]; }
FR_RECORD=1 fr_start
fr_wait 30 jingle_heard || fr_fail "the extensible jingle was not heard: $HEARD"
kill "$FR_PID" && fr_wait_exit 10 || fr_fail "the game did not end"

# Cut in the middle of its samples: two seconds of recording pass without it.
head -c $(($(stat -c %s "$jingle") / 2)) "$jingle" >"$jingle.cut" && mv "$jingle.cut" "$jingle"
rm -f "$FR_TMP/out.wav"
FR_RECORD=1 fr_start
two_seconds() { heard && awk '/^recording/ { exit !($2 > 2) }' <<<"$HEARD"; }
fr_wait 30 two_seconds || fr_fail "no recording: $HEARD"
[ -z "$(sed -n 's/^powerup.wav //p' <<<"$HEARD")" ] || fr_fail "a cut jingle was heard: $HEARD"
kill -0 "$FR_PID" || fr_fail "the game ended on a cut sound"
echo "PASS"

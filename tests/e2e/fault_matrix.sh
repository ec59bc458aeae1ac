#!/usr/bin/env bash
# Every file of Data/ removed, then cut in half, in turn: the real game starts,
# is driven from the menu into a game, is closed by the window manager's close,
# ends with code 0 and leaves every file of Data/ as it found it.
source "$(dirname "$0")/frame_lib.sh"
: "${BM_SEND_CLOSE:?BM_SEND_CLOSE must name the close tool}"
export ALSOFT_DRIVERS=null
pristine=$FR_TMP/pristine
cp -r "$(dirname "$BM_BIN")/Data" "$pristine"
mapfile -t files < <(cd "$pristine" && find . -type f | sort)
[ "${#files[@]}" -ge 20 ] || fr_fail "only ${#files[@]} files in Data/"
sums() { (cd "$FR_GAME" && find Data -type f -exec sha1sum {} + | sort); }

for file in "${files[@]}"; do
  for damage in removed cut; do
    rm -rf "$FR_GAME/Data" && cp -al "$pristine" "$FR_GAME/Data" && rm "$FR_GAME/Data/$file"
    [ "$damage" = removed ] || head -c $(($(stat -c %s "$pristine/$file") / 2)) "$pristine/$file" >"$FR_GAME/Data/$file"
    before=$(sums)
    : >"$FR_TMP/game.log"
    # Play, a click in the field where the carrots stand, and a tray key.
    fr_start
    fr_click_button menu.gui 2
    fr_click $(fr_virtual 256 205)
    fr_key b
    "$BM_SEND_CLOSE" "$FR_WIN"
    fr_wait_exit 10 || fr_fail "$file $damage: still running 10 s after its window was closed"
    [ "$FR_RC" = 0 ] || fr_fail "$file $damage: exit code $FR_RC"
    [ "$(sums)" = "$before" ] || fr_fail "$file $damage: Data/ was changed"
  done
done
echo "PASS: ${#files[@]} files, each removed and cut in half"

#!/usr/bin/env bash
# A staged install (DESTDIR) passes the desktop's validators, answers --version
# and refuses to start without data; started from / through its desktop entry
# with a fresh HOME, it plays a carrot into a record in the XDG data folder and
# writes nothing under its own prefix. Its window carries the icon sizes, the
# class the desktop entry names, its pid, and the compositor hint only while full
# screen.
source "$(dirname "$0")/frame_lib.sh"
: "${BM_BUILD_DIR:?BM_BUILD_DIR must name the build folder}"

stage=$FR_TMP/stage
DESTDIR=$stage cmake --install "$BM_BUILD_DIR" --prefix /usr >/dev/null
desktop=$stage/usr/share/applications/org.burrowmere.Burrowmere.desktop
metainfo=$stage/usr/share/metainfo/org.burrowmere.Burrowmere.metainfo.xml
[ -z "$(desktop-file-validate "$desktop" 2>&1)" ] || fr_fail "$(desktop-file-validate "$desktop" 2>&1)"
appstreamcli validate --no-net "$metainfo" >"$FR_TMP/as.log" 2>&1 || fr_fail "$(cat "$FR_TMP/as.log")"
for size in 16 32 48 64 128 256; do
  [ "$(identify -format %wx%h "$stage/usr/share/icons/hicolor/${size}x${size}/apps/org.burrowmere.Burrowmere.png")" = "${size}x$size" ] ||
    fr_fail "no ${size} px icon"
done

game=$stage/usr/games/burrowmere
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo")
[ "$(env -u DISPLAY "$game" --version)" = "burrowmere $release" ] || fr_fail "--version does not name release $release"
mkdir "$FR_TMP/lonely"
cp "$game" "$FR_TMP/lonely/"
rc=0
(cd / && "$FR_TMP/lonely/burrowmere") 2>"$FR_TMP/lonely.err" || rc=$?
[ "$rc" = 1 ] && [ "$(wc -l <"$FR_TMP/lonely.err")" = 1 ] &&
  grep -q "$FR_TMP/lonely/Data/.*$FR_TMP/lonely/../share/games/burrowmere/Data/" "$FR_TMP/lonely.err" ||
  fr_fail "without data: code $rc, '$(cat "$FR_TMP/lonely.err")'"

snapshot() { find "$stage" -printf '%P %s %m %T@\n' | sort; }
snapshot >"$FR_TMP/stage.before"
home=$FR_TMP/home
mkdir "$home"
command=$(sed -n 's/^Exec=//p' "$desktop")
export ALSOFT_DRIVERS=null
( cd / && exec env -u XDG_DATA_HOME -u XDG_RUNTIME_DIR PATH="$stage/usr/games:$PATH" HOME="$home" \
    $command --windowed -geometry 800x600+0+0 ) >"$FR_TMP/game.log" 2>&1 &
FR_PID=$!
FR_PIDS+=("$FR_PID")
FR_WIN=$(timeout 60 xdotool search --sync --name '^Burrowmere$' | head -n 1) || fr_fail "no game window"
sized() { fr_geometry; [ "$FR_W"x"$FR_H" = 800x600 ]; }
fr_wait 20 sized || fr_fail "the window is ${FR_W}x$FR_H, not the 800x600 asked of GLUT"
# Without a window manager the focus follows the pointer: put it over the window.
xdotool mousemove $((FR_X + FR_W / 2)) $((FR_Y + FR_H / 2))
fr_frames
timeout 5 "$game" --help | grep -q -- --windowed || fr_fail "--help beside a running game printed no usage"

# Play, and send one rabbit for a carrot near the middle.
record=$home/.local/share/burrowmere/dat.bin
fetched() { [ "$(od -An -t d4 -N 4 "$record" 2>/dev/null | tr -d ' ')" = 1 ]; }
field_shows() { fr_shot "$FR_TMP/field.png"; mapfile -t field < <(fr_carrots "$FR_TMP/field.png"); [ "${#field[@]}" -ge 5 ]; }
fr_click_button menu.gui 2
fr_wait 30 field_shows || fr_fail "play shows no field of carrots"
read -r _ row < <(fr_virtual 0 210)
fr_click "${field[${#field[@]} / 2]}" "$row"
xdotool mousemove $((FR_X + 5)) $((FR_Y + FR_H / 3))
fr_wait 90 fetched || fr_fail "no record of 1 in $record"
[ "$(stat -c %a "$(dirname "$record")")" = 700 ] || fr_fail "the record's folder is not private to the player"

# How the desktop knows the window.
[ "$(xprop -id "$FR_WIN" _NET_WM_ICON | sed -n 's/.*Icon (\([0-9]*\) x \1).*/\1/p' | tr '\n' ' ')" = "16 32 48 64 128 " ] ||
  fr_fail "icon sizes: $(xprop -id "$FR_WIN" _NET_WM_ICON | grep Icon | tr -d '\t' | tr '\n' ' ')"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$wm_class" ] || fr_fail "the desktop entry names no StartupWMClass"
[ "$(xprop -id "$FR_WIN" WM_CLASS)" = "WM_CLASS(STRING) = \"burrowmere\", \"$wm_class\"" ] ||
  fr_fail "$(xprop -id "$FR_WIN" WM_CLASS), not class $wm_class"
[ "$(xprop -id "$FR_WIN" _NET_WM_PID)" = "_NET_WM_PID(CARDINAL) = $FR_PID" ] || fr_fail "$(xprop -id "$FR_WIN" _NET_WM_PID)"
bypass() { [ "$(xprop -id "$FR_WIN" _NET_WM_BYPASS_COMPOSITOR)" = "_NET_WM_BYPASS_COMPOSITOR$1" ]; }
windowed() { fr_at 200 200 640 480; }
bypass ":  not found." || fr_fail "a compositor hint in the window"
for want in "fr_full_screen (CARDINAL) = 1" "windowed :  not found."; do
  # Over the window, which has the focus without a window manager.
  fr_step mousemove $((FR_X + FR_W / 2)) $((FR_Y + FR_H / 2))
  xdotool keydown F1
  # A failing step lets go of the key, so that it is not held for the next test.
  fr_wait 30 ${want%% *} || { xdotool keyup F1; fr_fail "F1 left the window at $FR_X $FR_Y $FR_W $FR_H"; }
  fr_wait 10 bypass "${want#* }" ||
    { xdotool keyup F1; fr_fail "${want%% *}: $(xprop -id "$FR_WIN" _NET_WM_BYPASS_COMPOSITOR)"; }
  xdotool keyup F1
done
fr_quit
fr_wait_exit 10 || fr_fail "quit did not end the game"
[ "$FR_RC" = 0 ] || fr_fail "quit ended with code $FR_RC"
snapshot | diff "$FR_TMP/stage.before" - || fr_fail "the game changed its installed files"
echo "PASS"

#!/usr/bin/env bash
# End to end through quorvik.exe under Wine, driven with the keyboard and the
# mouse as a player would: answer Yes, the folder is found; "Set Video.scr",
# change values (resolution, shader model, a check box of each block, the
# field of view, gamma reset from its own menu), "Set Audio.scr", Ctrl+S for File > Save Settings answering
# every box, Alt+F then X for File > Exit. Then every file under the game's "out" folder is compared byte
# for byte with tests/data/session, the settings files must be read-only, and
# the boxes shown are written to BOXES for the caller to compare with the
# Linux window's.
#
#   gui_session.sh WINDOWS_BUILD_DIR SESSION_DIR
#
# Needs DISPLAY (an X server without a window manager), WINE (the loader) and
# WINEPREFIX (a prefix whose registry holds the game's key); the prefix's
# Documents folder is pointed at SESSION_DIR/Documents.
set -euo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
session=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../../.." && pwd)
exe=$build/src/quorvik.exe
probe=$build/tests/quorvik_gui_probe.exe
expected=$root/tests/data/session
boxes=$session/boxes.txt
log=$session/session.log

fail() {
    echo "gui session: $*" >&2
    if command -v import >/dev/null; then import -window root "$session/failure.png" 2>/dev/null || true; fi
    exit 1
}

# A fresh game folder with the sample settings and empty Data folders.
rm -rf "$session"
out=$session/Documents/QuellMoor/out
mkdir -p "$out/Settings" "$out/Data/Scripts" "$out/Data/Skills"
# The files as the game writes them: a save drops nothing of the player's.
cp "$root/tests/data/game/Video.scr" "$root/tests/data/Audio.scr" "$out/Settings/"
: >"$boxes"
documents=$WINEPREFIX/drive_c/users/$(id -un)/Documents
rm -rf "$documents"
ln -s "$session/Documents" "$documents"

probe() { "$WINE" "$probe" "$@" </dev/null 2>>"$log" | tr -d '\r'; }
# Clicks the middle of a control, found by its name.
click() {
    local x y
    read -r x y < <(probe point "$1") || fail "no control $1"
    xdotool mousemove --sync "$x" "$y" click 1
    sleep 0.3
}
focus_main() {
    local window
    window=$(timeout 20 xdotool search --sync --limit 1 --name '^Quorvik Tool ') || fail "no main window"
    xdotool windowfocus --sync "$window"
}
# Waits for the next message box, records it and clicks its button (Yes or OK).
answer_box() {
    local shown x y
    shown=$(probe box 30) || fail "expected a message box: $1"
    echo "$shown" >>"$boxes"
    read -r x y < <(probe button "$2") || fail "no button $2 on: $shown"
    xdotool mousemove --sync "$x" "$y" click 1
    probe closed 20 || fail "the box stayed: $shown"
}
# Replaces a text box's text as typed: click, select it all, type over it.
type_into() {
    click "$1"
    xdotool key End shift+Home
    xdotool type --delay 40 "$2"
}

"$WINE" "$exe" </dev/null >>"$log" 2>&1 &
program=$!

answer_box "detect the settings folder?" 6    # Yes
answer_box "the folder was found" 1
focus_main

click Command1
probe wait-text Label12 "Set." 20 || fail "Video.scr was not loaded"
type_into Text1 1920
xdotool key Tab                      # Tab selects the next box's text
xdotool type --delay 40 1080
click Combo5
xdotool key Down                     # the next shader model in the list
click Check4                         # motion blur off
type_into Text15 75.0
click Text7                          # gamma back to its default, from the field's own menu
xdotool key shift+F10
sleep 0.5
xdotool key f
click Command2
probe wait-text Label29 "Set." 20 || fail "Audio.scr was not loaded"
click Check9                         # debug mode on
# How the window looks with the settings loaded, for whoever reads the results.
import -window "$(xdotool search --limit 1 --name '^Quorvik Tool ')" "$session/window.png" 2>>"$log" || true

focus_main
xdotool key ctrl+s                   # File > Save Settings, by its shortcut
# The six boxes of a save; nothing of the player's was replaced, so no seventh.
for n in 1 2 3 4 5 6; do answer_box "save, box $n" 1; done
focus_main
xdotool key alt+f                    # File, by its access key,
sleep 0.3
xdotool key x                        # then Exit by its own

for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
    kill "$program" 2>/dev/null || true
    fail "quorvik.exe did not end on File > Exit"
fi

# Every file as expected, no more and no fewer; the history, named by the time
# of the save, holds the settings files as they were.
game_files() { find . -path './Settings/Quorvik history' -prune -o -type f -print | sort; }
diff <(cd "$expected" && game_files) <(cd "$out" && game_files) ||
    fail "the files under out/ differ from tests/data/session"
for file in game/Video.scr Audio.scr; do
    cmp "$root/tests/data/$file" "$out/Settings/Quorvik history/"*/"${file#game/}" ||
        fail "the history does not keep $file as it was"
done
while IFS= read -r file; do
    cmp "$expected/$file" "$out/$file" || fail "$file differs from tests/data/session"
done < <(cd "$expected" && find . -type f)
for file in Video.scr Audio.scr; do
    mode=$(stat -c %a "$out/Settings/$file")
    if [ $((8#$mode & 8#222)) -ne 0 ]; then fail "Settings/$file is writable ($mode)"; fi
done
echo "gui session: $(wc -l <"$boxes") boxes answered, every file as expected"

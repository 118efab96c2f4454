# The real game under Xvfb, played as a child would: the intro and its pause dialog, the landscape,
# the log puzzle set right and wrong. One run ends through the dialog, one through the window's close
# button, one with its output going to a pipe whose reader has left.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"
need_archives

START=("cGameEngine Init" "cDugme Init")
DIALOG=("cIntro Pause" "cGlavniMeni Init" "cGlavniMeni cleanup")
HEIGHTS=(48 63 80 96 112 130 144 160 175 195) # log heights, shortest first: the logs 0 to 9

# Reads screenshot $1 where a log's pixels stop looking unlike the background beside them, the middle
# of three reads so its painted band or a letter over it does not count. "home": the column (30, 80,
# ..., 480; top edge y = 48) of each log, shortest first, failing unless the ten logs stand there once
# each; "placed": the height of the log in each slot (lower edge y = 372), or 0.
measure() {
    python3 - "$1" "$2" "${HEIGHTS[@]}" <<EOF
import subprocess, sys
shot, mode, *want = sys.argv[1:]
raw = subprocess.run(["convert", shot + "[640x480+$WIN_X+$WIN_Y]", "-depth", "8", "rgb:-"],
                     check=True, capture_output=True).stdout
px = lambda x, y: raw[(y * 640 + x) * 3:(y * 640 + x) * 3 + 3]
def read(x, ref, y, step):
    y0 = y
    while 0 <= y < 480 and sum(abs(p - q) for p, q in zip(px(x, y), px(ref, y))) > 60:
        y += step
    return abs(y - y0)
height = lambda x, y, step, ref: sorted(read(x + dx, x + ref, y, step) for dx in (5, 14, 23))[1]
if mode == "placed":
    print(*[height(16 + 40 * k, 372, -1, -5) for k in range(10)])
else:
    got, want = [height(30 + 50 * c, 48, 1, -6) for c in range(10)], [int(h) for h in want]
    print(*(got if sorted(got) != want else [30 + 50 * got.index(h) for h in want]))
    sys.exit(sorted(got) != want)
EOF
}

# A fresh puzzle in screenshot NAME: the ten logs at the top, where each stands read into COLUMN_OF.
new_puzzle() { poll 10 "no new puzzle's logs at the top" home "$1"; }
home() { SHOT=$(screenshot "$1") && SEEN=$(measure "$SHOT" home) && COLUMN_OF=($SEEN); }

# Drags log LOG (0 = shortest) by its middle to where its top-left lands in slot SLOT's drop range.
drag_log() {
    local h=${HEIGHTS[$1]}
    xdotool mousemove --window "$GAME_WIN" $((COLUMN_OF[$1] + 14)) $((48 + h / 2)) mousedown 1 \
        mousemove --window "$GAME_WIN" $((40 * $2 + 24)) $((377 - h + h / 2 + 1)) mouseup 1
}

# Sets slot k to log ORDER[k]: slots 1 to 9 first, read back once placed, then slot 0, away from where
# the verdict and its blinking hint are written. The verdict, typed out a letter every second frame, is
# read once the same in two shots in a row with the hint on: "Bravo!" is 58 pixels wide, "Greska!" 72.
play_row() {
    local name=$1 wide=$2 order=("${@:3}") k want=0
    for k in {1..9}; do drag_log "${order[$k]}" "$k" && want+=" ${HEIGHTS[${order[$k]}]}"; done
    poll 10 "the slots do not hold $want" placed "${name}_before_last" "$want"
    BEFORE=$SHOT VERDICT=
    drag_log "${order[0]}" 0
    poll 20 "no settled verdict with the hint \"Pritisni desni taster misa\"" settled "$name"
    [[ $(changed 238 200 14 19 && echo 72 || echo 58) == "$wide" ]] || fail "the verdict is not $wide pixels wide"
    [[ $(measure "$SHOT" placed) == "${HEIGHTS[${order[0]}]} "* ]] || fail "the last log did not drop"
}
placed() { SHOT=$(screenshot "$1") && SEEN=$(measure "$SHOT" placed) && [[ $SEEN == "$2" ]]; }
settled() {
    local was=$VERDICT
    SHOT=$(screenshot "$1") && VERDICT=$(shot_area "$SHOT" 180 200 72 19)
    [[ $VERDICT == "$was" ]] && changed 180 200 72 19 && changed 120 324 247 19
}
changed() { [[ $(shot_area "$SHOT" "$@") != $(shot_area "$BEFORE" "$@") ]]; }

start_xvfb
echo "the intro; Esc, then Enter on the no answer; then Esc, Down, Enter ends the game"
start_game
intro=$(screenshot intro)
key Escape
shot_until dialog != "$intro" 320 240
[[ $(shot_area "$SHOT" 5 5) == $(shot_area "$intro" 5 5) ]] || fail "the intro is not left around the dialog"
key Return
wait_line "cIntro Resume"
key Escape
wait_line "cGlavniMeni Init" 10 2
key Down Return
expect_end 0 "${START[@]}" "${DIALOG[@]}" "cIntro Resume" "${DIALOG[@]}" "cIntro Cleanup" "cGameEngine Cleanup"

echo "the output to a pipe whose reader leaves after two lines: the dialog opens all the same"
ZAGONETAR_BIN=bash start_game -c 'exec "$0" > >(head -n 2)' "$ZAGONETAR_BIN"
key Escape
shot_until piped_dialog = "$E2E_SHOTS/dialog.png" 320 240
"$XCLOSE" "$GAME_WIN"
expect_end 0 "${START[@]}"

echo "the start button; the landscape names the hovered icon, whose click opens the puzzle"
start_game
click 314 369
shot_until landscape != "$intro" 5 5
xdotool mousemove --window "$GAME_WIN" 270 60
# "Stapici" is written at (208, 243), 67 x 19, only while the icon is hovered.
shot_until landscape_with_name != "$SHOT" 208 243 67 19
click 273 64
new_puzzle puzzle

echo "the right row, shortest at the left: Bravo; the right button starts anew"
play_row bravo 58 0 1 2 3 4 5 6 7 8 9
xdotool click 3
new_puzzle second_puzzle

echo "the two shortest exchanged: Greska; Return starts anew; the close button"
play_row greska 72 1 0 2 3 4 5 6 7 8 9
key Return
wait_line "cSerijacija Cleanup" 10 2
"$XCLOSE" "$GAME_WIN"
expect_end 0 "${START[@]}" "cIntro Cleanup" "cIzbor Cleanup" \
    "cSerijacija Cleanup" "cSerijacija Cleanup" "cSerijacija Cleanup" "cGameEngine Cleanup"
echo "PASS; screenshots in $E2E_SHOTS"

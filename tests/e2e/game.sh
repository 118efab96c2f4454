# The real game under Xvfb, played as a child would: the intro and its pause dialog, the
# landscape, and the log puzzle set right and wrong. One run ends through the dialog, one
# through the window's close button.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"

for name in imgres001.bin sndres001.bin fntres001.bin; do
    [[ -f ${ZAGONETAR_GAME_DIR:-}/$name ]] ||
        { echo "SKIPPED: no $name in '${ZAGONETAR_GAME_DIR:-}'; the logs are read from the real pictures"; exit 0; }
done

START=("cGameEngine Init" "cDugme Init")
DIALOG=("cIntro Pause" "cGlavniMeni Init" "cGlavniMeni cleanup")
HEIGHTS=(48 63 80 96 112 130 144 160 175 195) # log heights, shortest first: the log for slot 0 to 9

# Reads a screenshot where a log's pixels stop looking unlike the background beside it. "home": the
# start column (30, 80, ..., 480; top edge y = 48) of each log, shortest first, failing unless the ten
# logs stand there once each; "placed": the height of the log in each slot (lower edge y = 372), or 0.
MEASURE=$E2E_TMP/measure.py
cat >"$MEASURE" <<EOF
import subprocess, sys
shot, mode, wx, wy = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
raw = subprocess.run(["convert", shot, "-crop", "640x480+%d+%d" % (wx, wy), "+repage",
                      "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
px = lambda x, y: raw[(y * 640 + x) * 3:(y * 640 + x) * 3 + 3]
def height(x0, start, step, ref):  # the middle one of three reads along the log
    reads = []
    for dx in (5, 14, 23):
        y = start
        while 0 <= y < 480 and sum(abs(p - q) for p, q in zip(px(x0 + dx, y), px(x0 + ref, y))) > 60:
            y += step
        reads.append(abs(y - start))
    return sorted(reads)[1]
if mode == "placed":
    print(*[height(16 + 40 * k, 372, -1, -5) for k in range(10)])
else:
    heights = [height(30 + 50 * c, 48, 1, -6) for c in range(10)]
    order = [int(h) for h in "${HEIGHTS[*]}".split()]
    if sorted(heights) != order: sys.exit("  read: logs by column %s" % heights)
    print(*[30 + 50 * heights.index(h) for h in order])
EOF
measure() { python3 "$MEASURE" "$1" "$2" "$WIN_X" "$WIN_Y"; }

click() { move_to "$1" "$2"; press; release; }

# Takes screenshot NAME until its window area (X Y [W H]) differs from that of screenshot REF;
# fails after 10 s. Prints the path.
shot_unlike() { poll 10 "$1 never came" unlike "$@"; echo "$E2E_SHOTS/$1.png"; }
unlike() { [[ $(shot_area "$(screenshot "$1")" "${@:3}") != $(shot_area "$2" "${@:3}") ]]; }

# Waits for a fresh puzzle, the ten logs at the top, and reads where each stands into COLUMN_OF.
home_columns() { COLUMN_OF=($(measure "$(screenshot "$1")" home)) && ((${#COLUMN_OF[@]} == 10)); }
new_puzzle() { poll 10 "the ten logs do not stand at the top of a new puzzle" home_columns "$1"; }

# Drags log LOG (0 = shortest) by its middle into slot SLOT, letting go where its top-left lands
# inside the slot's drop range.
drag_log() {
    local h=${HEIGHTS[$1]}
    move_to $((COLUMN_OF[$1] + 14)) $((48 + h / 2))
    press
    move_to $((40 * $2 + 24)) $((377 - h + h / 2 + 1))
    release
}

# Fills the row, slot k with log ORDER[k], from slot 9 down, so the last drop is away from where
# the verdict and the hint are written; checks the nine logs placed before the last.
fill_row() {
    local order=("${@:2}") k expected=0 placed
    for ((k = 9; k >= 1; k--)); do drag_log "${order[$k]}" "$k"; done
    BEFORE=$(screenshot "$1_before_last")
    for ((k = 1; k <= 9; k++)); do expected+=" ${HEIGHTS[${order[$k]}]}"; done
    placed=$(measure "$BEFORE" placed)
    [[ $placed == "$expected" ]] || fail "slots hold '$placed', expected '$expected'"
    drag_log "${order[0]}" 0
}

# Whether the window area X Y W H differs between SHOT and BEFORE, the shot before the last drop.
changed() { [[ $(shot_area "$SHOT" "$@") != $(shot_area "$BEFORE" "$@") ]]; }

# The verdict is typed out a letter every second frame and the hint blinks: settled when the
# verdict at (180, 200) shows the same in two shots in a row, with the hint on.
verdict_settled() {
    SHOT=$(screenshot "$1")
    local was=$LAST_VERDICT
    LAST_VERDICT=$(shot_area "$SHOT" 180 200 72 19)
    [[ $LAST_VERDICT == "$was" ]] && changed 180 200 72 19 && changed 120 324 247 19
}

# Checks the verdict by its width ("Bravo!" is 58 pixels, "Greska!" 72) and that the last log,
# of height LAST, dropped into slot 0.
expect_verdict() {
    LAST_VERDICT=
    poll 20 "no settled verdict with the hint \"Pritisni desni taster misa\"" verdict_settled "$1"
    local wide=58
    ! changed 238 200 14 19 || wide=72
    [[ $wide == "$2" ]] || fail "the verdict is $wide pixels wide, not $2"
    [[ $(measure "$SHOT" placed | cut -d' ' -f1) == "$3" ]] || fail "the last log did not drop"
}

start_xvfb

echo "the intro; Esc, then Enter on the no answer; then Esc, Down, Enter ends the game"
start_game
expect_trace "${START[@]}"
intro=$(screenshot intro)
key Escape
wait_line "cGlavniMeni Init"
dialog=$(shot_unlike dialog_over_intro "$intro" 320 240)
[[ $(shot_area "$dialog" 5 5) == $(shot_area "$intro" 5 5) ]] || fail "the intro is not left around the dialog"
key Return
wait_line "cIntro Resume"
expect_trace "${START[@]}" "${DIALOG[@]}" "cIntro Resume"
key Escape
wait_line "cGlavniMeni Init" 10 2
key Down
key Return
wait_exit
expect_status 0
expect_trace "${START[@]}" "${DIALOG[@]}" "cIntro Resume" "${DIALOG[@]}" "cIntro Cleanup" "cGameEngine Cleanup"

echo "the start button; the landscape names the hovered icon, whose click opens the puzzle"
start_game
click 314 369
wait_line "cIntro Cleanup"
plain=$(shot_unlike landscape "$intro" 5 5)
move_to 270 60
# "Stapici" is written at (208, 243), 67 x 19, only while the icon is hovered.
shot_unlike landscape_with_name "$plain" 208 243 67 19 >/dev/null
click 273 64
wait_line "cIzbor Cleanup"
new_puzzle puzzle_start

echo "the right row, shortest at the left: Bravo; the right button starts anew"
fill_row right 0 1 2 3 4 5 6 7 8 9
expect_verdict verdict_bravo 58 "${HEIGHTS[0]}"
press 3
release 3
wait_line "cSerijacija Cleanup"
new_puzzle second_puzzle

echo "the two shortest exchanged: Greska; Return starts anew"
fill_row wrong 1 0 2 3 4 5 6 7 8 9
expect_verdict verdict_greska 72 "${HEIGHTS[1]}"
key Return
wait_line "cSerijacija Cleanup" 10 2
new_puzzle third_puzzle

echo "the close button"
close_window
wait_exit
expect_status 0
expect_trace "${START[@]}" "cIntro Cleanup" "cIzbor Cleanup" \
    "cSerijacija Cleanup" "cSerijacija Cleanup" "cSerijacija Cleanup" "cGameEngine Cleanup"
echo "PASS; screenshots in $E2E_SHOTS"

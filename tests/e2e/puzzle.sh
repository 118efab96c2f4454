# The log puzzle played through on the real binary and the real pictures under Xvfb: a right
# row and "Bravo!", a wrong row and "Greska!", and new puzzles with the right button.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"

for name in imgres001.bin sndres001.bin fntres001.bin; do
    [[ -f ${ZAGONETAR_GAME_DIR:-}/$name ]] || { echo "SKIPPED: no $name in '${ZAGONETAR_GAME_DIR:-}'; this test reads the real log pictures"; exit 0; }
done

HEIGHTS=(48 63 80 96 112 130 144 160 175 195) # log heights, shortest first: the log for slot 0 to 9

# Reads a screenshot where a log's pixels stop looking unlike the background beside it. "home": the
# start column (30, 80, ..., 480; top edge y = 48) of each log, shortest first, failing unless the ten
# logs stand there once each; "placed": the height of the log in each slot (lower edge y = 372), or 0.
MEASURE=$E2E_TMP/measure.py
cat >"$MEASURE" <<'EOF'
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
    print("  logs by column:", *heights, file=sys.stderr)
    order = [48, 63, 80, 96, 112, 130, 144, 160, 175, 195]
    if sorted(heights) != order: sys.exit("FAIL: not the ten logs at the start")
    print(*[30 + 50 * heights.index(h) for h in order])
EOF

measure() { python3 "$MEASURE" "$1" "$2" "$WIN_X" "$WIN_Y"; }

# Waits for a new puzzle and reads where each log starts into COLUMN_OF (shortest first).
read_columns() {
    move_to 600 300
    sleep 0.3
    COLUMN_OF=($(measure "$(screenshot "$1")" home)) || fail "the logs of a new puzzle are not as they should be"
}
new_puzzle() { press 3; release 3; read_columns "$1"; } # through the right button
click() { move_to "$1" "$2"; press; release; }

# Drags log LOG (0 = shortest) by its middle into slot SLOT, letting go where its top-left lands
# inside the slot's drop range; a third argument names a screenshot taken half way.
drag_log() {
    local h=${HEIGHTS[$1]}
    move_to $((COLUMN_OF[$1] + 14)) $((48 + h / 2))
    press
    move_to 320 250
    [[ -n ${3:-} ]] && screenshot "$3" >/dev/null
    move_to $((40 * $2 + 24)) $((377 - h + h / 2 + 1))
    release
}

# Fills the row, slot k with log ORDER[k], from slot 9 down, so the last drop is away from
# where the verdict and the hint are written; checks the nine logs placed before the last.
fill_row() {
    local name=$1 k expected=0 placed; shift
    local order=("$@")
    for ((k = 9; k >= 1; k--)); do
        drag_log "${order[$k]}" "$k" "$( ((k != 5)) || echo "${name}_mid_drag")"
    done
    move_to 600 300
    BEFORE_SHOT=$(screenshot "${name}_before_last")
    for ((k = 1; k <= 9; k++)); do expected+=" ${HEIGHTS[${order[$k]}]}"; done
    placed=$(measure "$BEFORE_SHOT" placed)
    [[ $placed == "$expected" ]] || fail "slots hold '$placed', expected '$expected'"
    drag_log "${order[0]}" 0
    move_to 600 300
}

# Waits for the blinking hint; checks the verdict's width at (180, 200) ("Bravo!" is 58, "Greska!" 72)
# and that the last log, of height LAST, dropped.
expect_verdict() {
    local name=$1 width=$2 last=$3 i shot wide
    sleep 1 # seven letters, one every second frame
    for ((i = 0; i < 30; i++)); do
        shot=$(screenshot "$name")
        [[ $(shot_area "$shot" 120 324 247 19) != $(shot_area "$BEFORE_SHOT" 120 324 247 19) ]] && break
        ((i < 29)) || fail "the hint \"Pritisni desni taster misa\" never showed"
        sleep 0.2
    done
    [[ $(shot_area "$shot" 180 200 58 19) != $(shot_area "$BEFORE_SHOT" 180 200 58 19) ]] || fail "no verdict written"
    wide=$([[ $(shot_area "$shot" 238 200 14 19) != $(shot_area "$BEFORE_SHOT" 238 200 14 19) ]] && echo 72 || echo 58)
    [[ $wide == "$width" ]] || fail "the verdict is not $width pixels wide"
    [[ $(measure "$shot" placed | cut -d' ' -f1) == "$last" ]] || fail "the last log did not drop"
}

start_xvfb
start_game

echo "through the intro and the landscape to the puzzle"
click 314 369 # the intro's start button
wait_line "cIntro Cleanup"
click 273 64 # the activity icon
wait_line "cIzbor Cleanup"
read_columns puzzle_start

echo "the right row: shortest at the left"
fill_row right 0 1 2 3 4 5 6 7 8 9
expect_verdict verdict_bravo_with_hint 58 "${HEIGHTS[0]}"

echo "the right button: a new puzzle, then a row with the two shortest exchanged"
new_puzzle second_puzzle
fill_row wrong 1 0 2 3 4 5 6 7 8 9
expect_verdict verdict_greska_with_hint 72 "${HEIGHTS[1]}"

echo "the right button once more: a fresh puzzle"
new_puzzle third_puzzle

close_window
wait_exit
expect_status 0
expect_trace "cGameEngine Init" "cDugme Init" "cIntro Cleanup" "cIzbor Cleanup" \
    "cSerijacija Cleanup" "cSerijacija Cleanup" "cSerijacija Cleanup" "cGameEngine Cleanup"
echo "screenshots in $E2E_SHOTS"
echo "PASS"

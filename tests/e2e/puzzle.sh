# The log puzzle played through on the real binary and the real pictures under Xvfb: a right
# row and "Bravo!", a wrong row and "Greska!", and new puzzles with the right button.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"

for name in imgres001.bin sndres001.bin fntres001.bin; do
    if [[ ! -f ${ZAGONETAR_GAME_DIR:-}/$name ]]; then
        echo "SKIPPED: the built archives are not in '${ZAGONETAR_GAME_DIR:-}' (no $name);" \
            "this test reads the real log pictures"
        exit 0
    fi
done

START_X=314 START_Y=369 # the intro's start button, 207,318 215 x 102
ICON_X=273 ICON_Y=64    # the activity icon, 251,47 45 x 35
HEIGHTS=(48 63 80 96 112 130 144 160 175 195) # shortest first: log heights, slot 0 to 9

# Prints the height of the log in each of the ten places, left to right, read from a
# screenshot by where the log's pixels stop looking unlike the background beside it.
#   home:   the start columns 30, 80, ..., 480, top edges at y = 48, read downwards;
#   placed: the slots, logs at x = 16 + 40k with their lower edge at y = 372, read upwards.
# A place without a log reads 0.
MEASURE=$E2E_TMP/measure.py
cat >"$MEASURE" <<'EOF'
import subprocess, sys
shot, mode, wx, wy = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
raw = subprocess.run(["convert", shot, "-crop", "640x480+%d+%d" % (wx, wy), "+repage",
                      "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
def px(x, y):
    i = (y * 640 + x) * 3
    return raw[i:i + 3]
def unlike(a, b):
    return sum(abs(p - q) for p, q in zip(a, b)) > 60
heights = []
for place in range(10):
    if mode == "home":
        x0, start, step, ref = 30 + 50 * place, 48, 1, -6
    else:
        x0, start, step, ref = 16 + 40 * place, 372, -1, -5
    reads = []
    for dx in (5, 14, 23):
        y = start
        while 0 <= y < 480 and unlike(px(x0 + dx, y), px(x0 + ref, y)):
            y += step
        reads.append(abs(y - start))
    heights.append(sorted(reads)[1])
print(" ".join(map(str, heights)))
EOF

measure() {
    python3 "$MEASURE" "$1" "$2" "$WIN_X" "$WIN_Y"
}

# Index of HEIGHT in HEIGHTS, or fails.
height_index() {
    local i
    for i in "${!HEIGHTS[@]}"; do
        [[ ${HEIGHTS[$i]} == "$1" ]] && { echo "$i"; return 0; }
    done
    fail "a log $1 pixels high is not one of the ten"
}

# Reads where each log stands at the start of a puzzle into COLUMN_OF (by height index)
# and checks that the ten start places hold the ten different logs.
read_columns() {
    local shot=$1 heights i k
    heights=($(measure "$shot" home))
    echo "  logs by column: ${heights[*]}"
    COLUMN_OF=()
    for i in "${!heights[@]}"; do
        k=$(height_index "${heights[$i]}")
        [[ -z ${COLUMN_OF[$k]:-} ]] || fail "two logs ${heights[$i]} pixels high"
        COLUMN_OF[$k]=$((30 + 50 * i))
    done
    [[ ${#COLUMN_OF[@]} == 10 ]] || fail "not ten logs at the start"
}

# Drags log number LOG (by height index) into slot SLOT: press on its middle, carry it,
# let go where its top-left lands inside the slot's drop range. With a third argument
# the drag stops half way for a screenshot of that name.
drag_log() {
    local log=$1 slot=$2 h=${HEIGHTS[$1]}
    local x=$((COLUMN_OF[$log] + 14)) y=$((48 + h / 2))
    move_to "$x" "$y"
    press
    move_to 320 250
    [[ -n ${3:-} ]] && screenshot "$3" >/dev/null
    move_to $((40 * slot + 24)) $((377 - h + h / 2 + 1))
    release
}

# Fills the row: slot k gets the log ORDER[k] (a height index), the tallest slot first, so
# the last drop is into slot 0, away from where the verdict and the hint are written.
# Leaves the shot before the last drop in BEFORE_SHOT and checks the nine placed logs.
fill_row() {
    local name=$1 k; shift
    local order=("$@")
    for ((k = 9; k >= 1; k--)); do
        if ((k == 5)); then
            drag_log "${order[$k]}" "$k" "${name}_mid_drag"
        else
            drag_log "${order[$k]}" "$k"
        fi
    done
    move_to 600 300
    BEFORE_SHOT=$(screenshot "${name}_before_last")
    local placed expected
    placed=$(measure "$BEFORE_SHOT" placed)
    expected=0
    for ((k = 1; k <= 9; k++)); do expected+=" ${HEIGHTS[${order[$k]}]}"; done
    [[ $placed == "$expected" ]] || fail "slots hold '$placed', expected '$expected'"
    drag_log "${order[0]}" 0
    move_to 600 300
}

# Waits for the verdict to be typed and the hint to blink on; prints the screenshot.
verdict_with_hint() {
    local name=$1 i shot
    sleep 1 # seven letters, one every second frame
    for ((i = 0; i < 30; i++)); do
        shot=$(screenshot "$name")
        if [[ $(shot_area "$shot" 120 324 247 19) != $(shot_area "$BEFORE_SHOT" 120 324 247 19) ]]; then
            echo "$shot"
            return 0
        fi
        sleep 0.2
    done
    fail "the hint \"Pritisni desni taster misa\" never showed"
}

# The verdict at (180, 200): "Bravo!" is 58 pixels wide, "Greska!" 72. LAST is the height
# of the log that went into slot 0 last (the hint covers the other slots in this shot).
expect_verdict() {
    local shot=$1 width=$2 last=$3
    [[ $(shot_area "$shot" 180 200 58 19) != $(shot_area "$BEFORE_SHOT" 180 200 58 19) ]] ||
        fail "no verdict written at (180, 200)"
    local tail_changed=0
    [[ $(shot_area "$shot" 238 200 14 19) != $(shot_area "$BEFORE_SHOT" 238 200 14 19) ]] &&
        tail_changed=1
    if ((width > 58)); then
        ((tail_changed)) || fail "the verdict is no wider than \"Bravo!\""
    else
        ((!tail_changed)) || fail "the verdict is wider than \"Bravo!\""
    fi
    [[ $(measure "$shot" placed | cut -d' ' -f1) == "$last" ]] || fail "the last log did not drop"
}

start_xvfb
start_game
[[ $USING_REAL_ASSETS == 1 ]] || fail "the game folder did not get the built archives"

echo "through the intro and the landscape to the puzzle"
move_to "$START_X" "$START_Y"
press
release
wait_line "cIntro Cleanup"
move_to "$ICON_X" "$ICON_Y"
press
release
wait_line "cIzbor Cleanup"
move_to 600 300
sleep 0.3
read_columns "$(screenshot puzzle_start)"

echo "the right row: shortest at the left"
fill_row right 0 1 2 3 4 5 6 7 8 9
bravo=$(verdict_with_hint verdict_bravo_with_hint)
expect_verdict "$bravo" 58 "${HEIGHTS[0]}"
expect_trace "cGameEngine Init" "cDugme Init" "cIntro Cleanup" "cIzbor Cleanup"

echo "the right button: a new puzzle, then a row with the two shortest exchanged"
press 3
release 3
wait_line "cSerijacija Cleanup"
sleep 0.3
read_columns "$(screenshot second_puzzle)"
fill_row wrong 1 0 2 3 4 5 6 7 8 9
greska=$(verdict_with_hint verdict_greska_with_hint)
expect_verdict "$greska" 72 "${HEIGHTS[1]}"

echo "the right button once more: a fresh puzzle"
press 3
release 3
sleep 0.3
read_columns "$(screenshot third_puzzle)"
[[ $(measure "$(screenshot third_puzzle_slots)" placed) == "0 0 0 0 0 0 0 0 0 0" ]] ||
    fail "logs left in the slots of a new puzzle"

close_window
wait_exit
expect_status 0
expect_trace "cGameEngine Init" "cDugme Init" "cIntro Cleanup" "cIzbor Cleanup" \
    "cSerijacija Cleanup" "cSerijacija Cleanup" "cSerijacija Cleanup" "cGameEngine Cleanup"

echo "screenshots in $E2E_SHOTS"
echo "PASS"

# The real game under Xvfb, played as a child would: the intro and its dialog, also doubled on a 1920 x
# 1080 desktop with --fullscreen and with its streams closed or stalled; the landscape; the log puzzle
# set wrong by dragging and right by clicks alone with --one-button. Bad options fail at once.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"
ls "${ZAGONETAR_GAME_DIR:-/none}"/{img,snd,fnt}res001.bin &>/dev/null || { echo "SKIPPED: no archives"; exit 0; }

"$ZAGONETAR_BIN" --scale 9 >"$E2E_TMP/out" 2>"$E2E_TMP/err" && status=0 || status=$?
[[ $status == 2 && ! -s $E2E_TMP/out && $(wc -l <"$E2E_TMP/err") == 1 ]] || fail "--scale 9: status $status"
for option in --help --version; do
    "$ZAGONETAR_BIN" $option >/dev/full 2>"$E2E_TMP/said" && fail "$option reported success on a full disk"
    [[ $(<"$E2E_TMP/said") == "zagonetar: standard output: No space left on device" ]] ||
        fail "$option said: $(<"$E2E_TMP/said")"
done

START=("cGameEngine Init" "cDugme Init")
DIALOG=("cIntro Pause" "cGlavniMeni Init" "cGlavniMeni cleanup")

# Clicks at (X, Y), then at (X2, Y2): with --one-button a log taken up, carried and let go.
two_clicks() { xdotool mousemove --window "$GAME_WIN" $1 $2 click 1 mousemove --window "$GAME_WIN" $3 $4 sleep 0.1 click 1; }
# Moves log LOG (0 = shortest) to slot SLOT, whose flower is at (23 + 40 SLOT, 376): dragged by its
# middle to where its top-left lands in the slot's drop range, or with ONE_BUTTON clicked and carried.
move_log() {
    local x=$((COLUMN_OF[$1] + 14)) y=$((48 + HEIGHTS[$1] / 2)) h=${HEIGHTS[$1]}
    [[ -n ${ONE_BUTTON:-} ]] && two_clicks $x $y $((40 * $2 + 37)) 388 ||
        xdotool mousemove --window "$GAME_WIN" $x $y mousedown 1 \
            mousemove --window "$GAME_WIN" $((40 * $2 + 24)) $((377 - h + h / 2 + 1)) mouseup 1
}

# Sets slot k to log ORDER[k]: slots 1 to 9 (with ONE_BUTTON slot 5's log then lifted into slot 0 and
# back), then slot 0, clear of the verdict and hint. The verdict, typed a letter every second frame, is
# read once the same in two shots with the hint on: "Bravo!" is 58 pixels wide, "Greska!" 72.
play_row() {
    local name=$1 wide=$2 order=("${@:3}") k want=0
    for k in {1..9}; do move_log "${order[$k]}" "$k" && want+=" ${HEIGHTS[${order[$k]}]}"; done
    poll 10 "the slots do not hold $want" placed "${name}_before_last" "$want"
    if [[ -n ${ONE_BUTTON:-} ]]; then
        two_clicks $((16 + 40 * 5 + 14)) 360 37 388
        poll 10 "the log in slot 5 was not lifted into slot 0" placed lifted "130 63 80 96 112 0 144 160 175 195"
        two_clicks 30 360 $((40 * 5 + 37)) 388
        poll 10 "the lifted log did not go back to slot 5" placed back "$want"
    fi
    BEFORE=$SHOT VERDICT=
    move_log "${order[0]}" 0
    poll 20 "no settled verdict with a hint" settled "$name"
    [[ $(changed 238 200 14 19 && echo 72 || echo 58) == "$wide" ]] || fail "the verdict is not $wide pixels wide"
    [[ $(measure "$SHOT" placed) == "${HEIGHTS[${order[0]}]} "* ]] || fail "the last log did not drop"
}

XVFB_SCREEN=1920x1080x24 start_xvfb
echo "the intro; Esc, then Enter on the no answer; then Esc, Down, Enter ends the game"
start_game
intro=$(screenshot intro)
convert "$intro[640x480+$WIN_X+$WIN_Y]" -sample 200% -bordercolor black -border 320x60 "$E2E_TMP/doubled.png"
key Escape
shot_until dialog != "$intro" 320 240
[[ $(shot_area "$SHOT" 5 5) == $(shot_area "$intro" 5 5) ]] || fail "the intro is not left around the dialog"
key Return
wait_line "cIntro Resume"
key Escape
wait_line "cGlavniMeni Init" 10 2
key Down Return
expect_end 0 "${START[@]}" "${DIALOG[@]}" "cIntro Resume" "${DIALOG[@]}" "cIntro Cleanup" "cGameEngine Cleanup"

echo "full screen: the same intro doubled at (320, 60) on black; its start button where it shows"
start_game --fullscreen
[[ $(compare -metric AE "$E2E_TMP/doubled.png" "$(screenshot fullscreen)" null: 2>&1) == 0 ]] ||
    fail "the intro is not the plain one doubled, centred on black"
click $((320 + 2 * 314)) $((60 + 2 * 369))
wait_line "cIntro Cleanup"
"$XCLOSE" "$GAME_WIN"
expect_end 0 "${START[@]}" "cIntro Cleanup" "cIzbor Cleanup" "cGameEngine Cleanup"

echo "output to a pipe whose reader leaves, or a full one; stdout and stderr closed: the dialog all the same"
mkfifo "$E2E_TMP/full" && exec 6<>"$E2E_TMP/full" # a reader of the fifo who never reads
for shell in 'exec "$0" > >(head -n 2)' 'exec "$0" >&- 2>&-' \
    'exec 5>"$1" && head -c 65536 /dev/zero >&5 && exec "$0" <&- >&5 5>&-'; do
    QUIET=${shell##*'head -n'*} ZAGONETAR_BIN=bash start_game -c "$shell" "$ZAGONETAR_BIN" "$E2E_TMP/full"
    key Escape
    shot_until piped_dialog = "$E2E_SHOTS/dialog.png" 320 240
    "$XCLOSE" "$GAME_WIN"
    [[ $shell == *'head -n'* ]] && expect_end 0 "${START[@]}" || expect_end 0
done

echo "the start button; the landscape's icon opens the puzzle"
start_game
click 314 369
shot_until landscape != "$intro" 5 5
click 273 64
new_puzzle puzzle

echo "the two shortest exchanged: Greska; the hint names the right button, which starts anew"
play_row greska 72 1 0 2 3 4 5 6 7 8 9
# "Pritisni desni taster misa" is 247 pixels wide; "Klikni za novu igru" 179.
changed 305 324 62 19 || fail "the hint is not \"Pritisni desni taster misa\""
xdotool click 3
new_puzzle second_puzzle
"$XCLOSE" "$GAME_WIN"
expect_end 0 "${START[@]}" "cIntro Cleanup" "cIzbor Cleanup" "cSerijacija Cleanup" "cSerijacija Cleanup" \
    "cGameEngine Cleanup"

echo "--one-button, clicks alone: Bravo after a log lifted and put back; a click for the next puzzle"
start_game --one-button
click 314 369
wait_line "cIntro Cleanup"
click 273 64
new_puzzle one_button
ONE_BUTTON=1 play_row one_button_bravo 58 0 1 2 3 4 5 6 7 8 9
changed 305 324 62 19 && fail "the hint is not \"Klikni za novu igru\""
click 320 150
new_puzzle one_button_second
"$XCLOSE" "$GAME_WIN"
expect_end 0 "${START[@]}" "cIntro Cleanup" "cIzbor Cleanup" "cSerijacija Cleanup" "cSerijacija Cleanup" \
    "cGameEngine Cleanup"

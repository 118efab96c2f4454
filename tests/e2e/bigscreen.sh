# The real game with --fullscreen on a 1920 x 1080 desktop: the intro twice as large, centred on black,
# the start button clicked where it shows, the plain game's trace and exit status. A bad option fails early.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"
[[ -f ${ZAGONETAR_GAME_DIR:-}/imgres001.bin ]] || { echo "SKIPPED: no archives in '${ZAGONETAR_GAME_DIR:-}'"; exit 0; }

"$ZAGONETAR_BIN" --scale 9 >"$E2E_TMP/out" 2>"$E2E_TMP/err" && status=0 || status=$?
[[ $status == 2 && ! -s $E2E_TMP/out && $(wc -l <"$E2E_TMP/err") == 1 ]] || fail "--scale 9: status $status"

sized() { xdotool getwindowgeometry "$GAME_WIN" | grep -q "Geometry: $1"; }

# Screenshot NAME of the intro (in full screen after F11 to a window and back); a click on the start
# button, (314, 369) of the picture shown SCALE times as large at (X, Y); Esc and the yes answer.
play() {
    local name=$1 scale=$2 x=$3 y=$4
    start_game "${@:5}"
    [[ $name == plain ]] || { key F11 && poll 5 "F11 opened no 640 x 480 window" sized 640x480 && key F11; }
    screenshot "$name" >/dev/null
    move_to $((x + scale * 314)) $((y + scale * 369)) && press && release
    wait_line "cIntro Cleanup"
    key Escape
    wait_line "cGlavniMeni Init"
    key Down
    key Return
    wait_exit
    expect_status 0
}

XVFB_SCREEN=1920x1080x24 start_xvfb
echo "the plain window"
play plain 1 0 0
plain=$(cat "$GAME_DIR/stdout")
convert "$E2E_SHOTS/plain.png[640x480+$WIN_X+$WIN_Y]" -sample 200% "$E2E_TMP/doubled.png"

echo "full screen: the same picture doubled at (320, 60) on black, the same trace"
play fullscreen 2 320 60 --fullscreen
[[ $(cat "$GAME_DIR/stdout") == "$plain" ]] || fail "the trace differs from the plain game's: $plain"
shot=$E2E_SHOTS/fullscreen.png
[[ $(compare -metric AE "$E2E_TMP/doubled.png" "$shot[1280x960+320+60]" null: 2>&1) == 0 ]] ||
    fail "the intro is not the plain one doubled at (320, 60)"
[[ $(convert "$shot" -fill black -draw "rectangle 320,60 1599,1019" -format "%[max]" info:) == 0 ]] ||
    fail "the border is not black"
echo "PASS; screenshots in $E2E_SHOTS"

# The game with --fullscreen on a 1920 x 1080 desktop: the intro twice as large, centred on black, its
# start button clicked where it shows, and the plain game's trace and exit status. A bad option fails early.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"
need_archives

"$ZAGONETAR_BIN" --scale 9 >"$E2E_TMP/out" 2>"$E2E_TMP/err" && status=0 || status=$?
[[ $status == 2 && ! -s $E2E_TMP/out && $(wc -l <"$E2E_TMP/err") == 1 ]] || fail "--scale 9: status $status"

# Screenshot NAME of the intro; a click on the start button, at (314, 369) of the picture shown SCALE
# times as large with its corner at (X, Y); Esc and the yes answer end the game from the landscape.
play() {
    start_game "${@:5}"
    screenshot "$1" >/dev/null
    click $(($3 + $2 * 314)) $(($4 + $2 * 369))
    wait_line "cIntro Cleanup"
    key Escape
    wait_line "cIzbor Pause"
    key Down Return
    expect_end 0 "cGameEngine Init" "cDugme Init" "cIntro Cleanup" "cIzbor Pause" "cGlavniMeni Init" \
        "cGlavniMeni cleanup" "cIzbor Cleanup" "cGameEngine Cleanup"
}

XVFB_SCREEN=1920x1080x24 start_xvfb
play plain 1 0 0
convert "$E2E_SHOTS/plain.png[640x480+$WIN_X+$WIN_Y]" -sample 200% -bordercolor black -border 320x60 \
    "$E2E_TMP/want.png"
echo "full screen: the same picture doubled at (320, 60) on black, the same trace"
play fullscreen 2 320 60 --fullscreen
[[ $(compare -metric AE "$E2E_TMP/want.png" "$E2E_SHOTS/fullscreen.png" null: 2>&1) == 0 ]] ||
    fail "the intro is not the plain one doubled, centred on black"
echo "PASS; screenshots in $E2E_SHOTS"

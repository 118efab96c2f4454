# The intro, the pause dialog and the way to the selection screen, on the real binary under Xvfb.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"

# Where the screens' widgets are, in window coordinates.
START_X=300 START_Y=370   # the start button (hit area 208..421 x 319..419)
ICON_X=270 ICON_Y=60      # the activity icon (hit area 252..295 x 48..81)

start_xvfb

echo "start and close the window"
start_game
expect_trace "cGameEngine Init" "cDugme Init"
intro_shot=$(screenshot intro)
close_window
wait_exit
expect_status 0
expect_trace "cGameEngine Init" "cDugme Init" "cIntro Cleanup" "cGameEngine Cleanup"

echo "Esc, then Enter on the no answer"
start_game
key Escape
wait_line "cGlavniMeni Init"
dialog_shot=$(screenshot dialog_over_intro)
key Return
wait_line "cIntro Resume"
expect_trace "cGameEngine Init" "cDugme Init" "cIntro Pause" "cGlavniMeni Init" \
    "cGlavniMeni cleanup" "cIntro Resume"
close_window
wait_exit
expect_status 0
# The dialog covers the middle of the intro; the intro stays around it.
[[ $(shot_pixel "$dialog_shot" 320 240) != $(shot_pixel "$intro_shot" 320 240) ]] ||
    fail "no dialog in the middle of the screen"
[[ $(shot_pixel "$dialog_shot" 5 5) == $(shot_pixel "$intro_shot" 5 5) ]] ||
    fail "the intro is not left around the dialog"

echo "Esc, Down, Enter ends the game"
start_game
key Escape
wait_line "cGlavniMeni Init"
key Down
key Return
wait_exit
expect_status 0
expect_trace "cGameEngine Init" "cDugme Init" "cIntro Pause" "cGlavniMeni Init" \
    "cGlavniMeni cleanup" "cIntro Cleanup" "cGameEngine Cleanup"

echo "a click on the start button reaches the selection screen"
start_game
move_to "$START_X" "$START_Y"
press
release
wait_line "cIntro Cleanup"
expect_trace "cGameEngine Init" "cDugme Init" "cIntro Cleanup"
move_to 600 450
sleep 0.2
plain_shot=$(screenshot selection)
move_to "$ICON_X" "$ICON_Y"
sleep 0.2
named_shot=$(screenshot selection_with_name)
[[ $(shot_pixel "$plain_shot" 5 5) != $(shot_pixel "$intro_shot" 5 5) ]] ||
    fail "the landscape is not shown"
if [[ $USING_REAL_ASSETS == 0 ]]; then
    [[ $(shot_pixel "$plain_shot" 5 5) == 60c0f0 ]] || fail "the stand-in landscape is not shown"
    [[ $(shot_pixel "$named_shot" 208 250) == ffffff ]] || fail "no name under the icon"
    [[ $(shot_pixel "$plain_shot" 208 250) == 60c0f0 ]] || fail "the name shows unhovered"
fi
# "Stapici" is written at (208, 243), 67 x 19, only while the icon is hovered.
[[ $(shot_area "$plain_shot" 208 243 67 19) != $(shot_area "$named_shot" 208 243 67 19) ]] ||
    fail "the name does not appear while the icon is hovered"
close_window
wait_exit
expect_status 0
expect_trace "cGameEngine Init" "cDugme Init" "cIntro Cleanup" "cIzbor Cleanup" \
    "cGameEngine Cleanup"

echo "screenshots in $E2E_SHOTS"
echo "PASS"

# The intro, the pause dialog and the way to the selection screen, on the real binary under Xvfb.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"

START=(300 370) # the start button (hit area 208..421 x 319..419)
ICON=(270 60)   # the activity icon (hit area 252..295 x 48..81)
START_TRACE=("cGameEngine Init" "cDugme Init")
DIALOG_TRACE=("${START_TRACE[@]}" "cIntro Pause" "cGlavniMeni Init" "cGlavniMeni cleanup")

start_xvfb

echo "start and close the window"
start_game
expect_trace "${START_TRACE[@]}"
intro_shot=$(screenshot intro)
close_window
wait_exit
expect_status 0
expect_trace "${START_TRACE[@]}" "cIntro Cleanup" "cGameEngine Cleanup"

echo "Esc, then Enter on the no answer; then Esc, Down, Enter ends the game"
start_game
key Escape
wait_line "cGlavniMeni Init"
dialog_shot=$(screenshot dialog_over_intro)
key Return
wait_line "cIntro Resume"
expect_trace "${DIALOG_TRACE[@]}" "cIntro Resume"
# The dialog covers the middle of the intro; the intro stays around it.
[[ $(shot_pixel "$dialog_shot" 320 240) != $(shot_pixel "$intro_shot" 320 240) ]] || fail "no dialog in the middle"
[[ $(shot_pixel "$dialog_shot" 5 5) == $(shot_pixel "$intro_shot" 5 5) ]] || fail "the intro is not left around the dialog"
key Escape
key Down
key Return
wait_exit
expect_status 0
expect_trace "${DIALOG_TRACE[@]}" "cIntro Resume" "cIntro Pause" "cGlavniMeni Init" "cGlavniMeni cleanup" \
    "cIntro Cleanup" "cGameEngine Cleanup"

echo "a click on the start button reaches the selection screen, which names the hovered icon"
start_game
move_to "${START[@]}"
press
release
wait_line "cIntro Cleanup"
plain_shot=$(screenshot selection)
move_to "${ICON[@]}"
named_shot=$(screenshot selection_with_name)
[[ $(shot_pixel "$plain_shot" 5 5) != $(shot_pixel "$intro_shot" 5 5) ]] || fail "the landscape is not shown"
# "Stapici" is written at (208, 243), 67 x 19, only while the icon is hovered.
[[ $(shot_area "$plain_shot" 208 243 67 19) != $(shot_area "$named_shot" 208 243 67 19) ]] || fail "no name under the icon"
close_window
wait_exit
expect_status 0
expect_trace "${START_TRACE[@]}" "cIntro Cleanup" "cIzbor Cleanup" "cGameEngine Cleanup"
echo "PASS; screenshots in $E2E_SHOTS"

# The real game with its standard streams closed, or its output into a pipe nobody reads:
# it opens, answers and closes all the same, never stopping on a line it prints.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"
need_archives

echo "help and version that can't be written end in failure"
for option in --help --version; do
    "$ZAGONETAR_BIN" $option >/dev/full 2>"$E2E_TMP/said" && fail "$option reported success on a full disk"
    [[ $(<"$E2E_TMP/said") == "zagonetar: standard output: No space left on device" ]] ||
        fail "$option said: $(<"$E2E_TMP/said")"
done

start_xvfb

# Starts the game in a fresh folder through the shell words given (the game is "$0" there),
# then waits for its window and first picture without reading its output.
start_quiet() {
    GAME_DIR=$(mktemp -d "$E2E_TMP/game-XXXXXX")
    cp "$ZAGONETAR_GAME_DIR"/{img,snd,fnt}res001.bin "$GAME_DIR/"
    (cd "$GAME_DIR" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy bash -c "$1" "$ZAGONETAR_BIN") &
    GAME_PID=$! GAME_WIN=
    poll 10 "no window named Zagonetar" game_window
    poll 10 "the window stays black" drawn
}
# Esc opens the dialog over the intro; the close button then ends the game with status 0.
answers_and_closes() {
    local intro
    intro=$(screenshot "$1")
    xdotool windowfocus "$GAME_WIN" key Escape
    shot_until "$1_dialog" != "$intro" 320 240
    "$XCLOSE" "$GAME_WIN"
    poll 15 "the game did not end" eval '! kill -0 $GAME_PID 2>/dev/null'
    wait "$GAME_PID" && status=0 || status=$?
    GAME_PID=
    [[ $status == 0 ]] || fail "exit status $status"
}

echo "standard output and standard error closed"
start_quiet 'exec "$0" >&- 2>&-'
answers_and_closes closed

echo "standard input closed, the output into a full pipe whose reader never reads"
mkfifo "$E2E_TMP/full"
sleep 600 <"$E2E_TMP/full" &
SLEEPER=$!
start_quiet 'exec 5>"'"$E2E_TMP"'/full" && head -c 65536 /dev/zero >&5 && exec "$0" <&- >&5 5>&-'
answers_and_closes full
kill $SLEEPER

echo "PASS; screenshots in $E2E_SHOTS"

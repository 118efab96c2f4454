# Shared helpers for the whole-program tests: Xvfb, the real game, xdotool input, screenshots.
# Source it from a test script; everything it starts is stopped when the script exits.
set -euo pipefail
: "${ZAGONETAR_BIN:?the game binary}" "${XCLOSE:?the close-button tool}"

E2E_TMP=$(mktemp -d /tmp/zagonetar-e2e-XXXXXX)
E2E_SHOTS=${E2E_SHOTS:-$E2E_TMP/shots}
mkdir -p "$E2E_SHOTS"
XVFB_PID= GAME_PID= GAME_DIR= GAME_WIN= GAME_STATUS= WIN_X=0 WIN_Y=0
FRAME_WAIT=${FRAME_WAIT:-0.15} # the pause after each input: a few 33 ms frames

e2e_cleanup() {
    local pid
    for pid in $GAME_PID $XVFB_PID; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; done
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# Says what went wrong, with what the game printed, and ends the script.
fail() {
    echo "FAIL: $*" >&2
    [[ -z $GAME_DIR ]] || tail -n +1 "$GAME_DIR/stdout" "$GAME_DIR/stderr" >&2 2>/dev/null || true
    exit 1
}

# Runs COMMAND every 0.1 s until it succeeds; fails with MESSAGE after SECONDS.
poll() {
    local seconds=$1 message=$2 i
    shift 2
    for ((i = 0; i < seconds * 10; i++)); do "$@" && return 0; sleep 0.1; done
    fail "$message"
}

xvfb_answers() {
    kill -0 "$XVFB_PID" 2>/dev/null || { cat "$E2E_TMP/xvfb.log" >&2; fail "Xvfb did not start"; }
    [[ -s $E2E_TMP/display ]] && export DISPLAY=":$(head -n1 "$E2E_TMP/display")" &&
        xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts Xvfb on a display it picks itself (-displayfd) and exports DISPLAY. XVFB_SCREEN is
# its screen, WIDTHxHEIGHTxDEPTH.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-800x600x24}" -nolisten tcp -noreset 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
    XVFB_PID=$!
    poll 10 "Xvfb did not answer" xvfb_answers
}

game_window() { GAME_WIN=$(xdotool search --name Zagonetar 2>/dev/null | head -n1) && [[ -n $GAME_WIN ]]; }

# Starts the game with the options given in a fresh folder, with the archives of ZAGONETAR_GAME_DIR when
# it names one, and waits for its window. Sound goes to the dummy driver: these machines have none.
start_game() {
    GAME_DIR=$(mktemp -d "$E2E_TMP/game-XXXXXX")
    [[ -z ${ZAGONETAR_GAME_DIR:-} ]] || cp "$ZAGONETAR_GAME_DIR"/{img,snd,fnt}res001.bin "$GAME_DIR/"
    (cd "$GAME_DIR" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" \
        "$ZAGONETAR_BIN" "$@" >stdout 2>stderr) &
    GAME_PID=$! GAME_STATUS=
    wait_line "cDugme Init" 20
    poll 10 "no window named Zagonetar" game_window
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$GAME_WIN" | grep -E '^[XY]=')"
    WIN_X=$X WIN_Y=$Y
    xdotool windowfocus --sync "$GAME_WIN" 2>/dev/null || xdotool windowfocus "$GAME_WIN"
    sleep "$FRAME_WAIT"
}

# Waits until the game has printed LINE (a whole line) COUNT times; fails after TIMEOUT seconds.
printed() { local n; n=$(grep -sxcF -- "$1" "$GAME_DIR/stdout"); ((${n:-0} >= $2)); }
wait_line() { poll "${2:-10}" "the game never printed \"$1\" ${3:-1} times" printed "$1" "${3:-1}"; }

# Fails unless the game's standard output so far is exactly the lines given.
expect_trace() {
    [[ $(cat "$GAME_DIR/stdout") == "$(printf '%s\n' "$@")" ]] || fail "trace differs; expected: $*"
}

# Input in the game window, each followed by a few frames; keys are X keysyms (Escape, Down).
move_to() { xdotool mousemove --window "$GAME_WIN" "$1" "$2" && sleep "$FRAME_WAIT"; }
press() { xdotool mousedown "${1:-1}" && sleep "$FRAME_WAIT"; }
release() { xdotool mouseup "${1:-1}" && sleep "$FRAME_WAIT"; }
key() { xdotool key --clearmodifiers "$1" && sleep "$FRAME_WAIT"; }

# Saves the whole display as $E2E_SHOTS/NAME.png and prints the path.
screenshot() { import -window root "$E2E_SHOTS/$1.png" && echo "$E2E_SHOTS/$1.png"; }

# A checksum of the game window's rectangle (X, Y, W, H; 1 x 1 if not given) in a screenshot.
shot_area() { convert "$1" -crop "${4:-1}x${5:-1}+$((WIN_X + $2))+$((WIN_Y + $3))" +repage -format '%#' info:; }

# Asks the window to close through its close button.
close_window() { "$XCLOSE" "$GAME_WIN"; }

game_ended() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# Waits for the game to end (TIMEOUT seconds) and sets GAME_STATUS.
wait_exit() {
    poll "${1:-15}" "the game did not end within ${1:-15} s" game_ended
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
    GAME_PID=
}

expect_status() { [[ $GAME_STATUS == "$1" ]] || fail "exit status $GAME_STATUS, expected $1"; }

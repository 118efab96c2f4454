# Shared helpers for the whole-program tests: Xvfb, the real game, xdotool input, screenshots.
# Source it from a test script; everything it starts is stopped when the script exits.

set -euo pipefail

: "${ZAGONETAR_BIN:?the game binary}" "${MAKE_TEST_ARCHIVES:?the stand-in archive tool}" "${XCLOSE:?the close-button tool}"

E2E_TMP=$(mktemp -d /tmp/zagonetar-e2e-XXXXXX)
E2E_SHOTS=${E2E_SHOTS:-$E2E_TMP/shots}
mkdir -p "$E2E_SHOTS"
XVFB_PID= GAME_PID= GAME_DIR= GAME_WIN= GAME_STATUS=
WIN_X=0 WIN_Y=0 # where the game window lies on the display
FRAME_WAIT=${FRAME_WAIT:-0.15} # the pause after each input: a few 33 ms frames

e2e_cleanup() {
    local pid
    for pid in $GAME_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
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
    for ((i = 0; i < seconds * 10; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    fail "$message"
}

xvfb_answers() {
    kill -0 "$XVFB_PID" 2>/dev/null || { cat "$E2E_TMP/xvfb.log" >&2; fail "Xvfb did not start"; }
    [[ -s $E2E_TMP/display ]] && export DISPLAY=":$(head -n1 "$E2E_TMP/display")" &&
        xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts Xvfb on a display it picks itself (-displayfd) and exports DISPLAY.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
    XVFB_PID=$!
    poll 10 "Xvfb did not answer" xvfb_answers
}

game_window() {
    GAME_WIN=$(xdotool search --name Zagonetar 2>/dev/null | head -n1 || true)
    [[ -n $GAME_WIN ]]
}

# Starts the game in a fresh folder with the real archives when they are built, else
# stand-ins (USING_REAL_ASSETS says which), and waits for its window. The audio driver
# is the dummy one unless the caller chose another: the machines that run this have no sound.
start_game() {
    GAME_DIR=$(mktemp -d "$E2E_TMP/game-XXXXXX")
    local real=${ZAGONETAR_GAME_DIR:-} name X Y
    USING_REAL_ASSETS=1
    for name in imgres001.bin sndres001.bin fntres001.bin; do
        [[ -n $real && -f $real/$name ]] || USING_REAL_ASSETS=0
    done
    if ((USING_REAL_ASSETS)); then
        cp "$real"/{img,snd,fnt}res001.bin "$GAME_DIR/"
    else
        "$MAKE_TEST_ARCHIVES" "$GAME_DIR"
    fi
    GAME_STATUS=
    (cd "$GAME_DIR" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$ZAGONETAR_BIN" >stdout 2>stderr) &
    GAME_PID=$!
    wait_line "cDugme Init" 20
    poll 10 "no window named Zagonetar" game_window
    eval "$(xdotool getwindowgeometry --shell "$GAME_WIN" | grep -E '^[XY]=')"
    WIN_X=$X WIN_Y=$Y
    xdotool windowfocus --sync "$GAME_WIN" 2>/dev/null || xdotool windowfocus "$GAME_WIN"
    sleep "$FRAME_WAIT"
}

# Waits until the game has printed LINE (a whole line); fails after TIMEOUT seconds.
wait_line() {
    poll "${2:-10}" "the game never printed \"$1\"" grep -sqxF -- "$1" "$GAME_DIR/stdout"
}

# Fails unless the game's standard output so far is exactly the lines given.
expect_trace() {
    [[ $(cat "$GAME_DIR/stdout") == "$(printf '%s\n' "$@")" ]] || fail "trace differs; expected: $*"
}

# Input in the game window, each followed by a few frames; keys are X keysyms (Escape, F11).
move_to() { xdotool mousemove --window "$GAME_WIN" "$1" "$2" && sleep "$FRAME_WAIT"; }
press() { xdotool mousedown "${1:-1}" && sleep "$FRAME_WAIT"; }
release() { xdotool mouseup "${1:-1}" && sleep "$FRAME_WAIT"; }
key() { xdotool key --clearmodifiers "$1" && sleep "$FRAME_WAIT"; }

# Saves the whole display as $E2E_SHOTS/NAME.png and prints the path.
screenshot() { import -window root "$E2E_SHOTS/$1.png" && echo "$E2E_SHOTS/$1.png"; }

# The colour of the game window's pixel (X, Y) in a screenshot, as rrggbb.
shot_pixel() {
    convert "$1" -crop "1x1+$((WIN_X + $2))+$((WIN_Y + $3))" -depth 8 txt:- |
        sed -n '2s/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'A-F' 'a-f'
}

# A checksum of the game window's rectangle (X, Y, W, H) in a screenshot.
shot_area() {
    convert "$1" -crop "$4x$5+$((WIN_X + $2))+$((WIN_Y + $3))" +repage -format '%#' info:
}

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

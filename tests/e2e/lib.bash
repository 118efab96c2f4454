# Shared helpers for the whole-program tests: Xvfb, the real game, xdotool input, screenshots.
# Source it from a test script; everything it starts is stopped when the script exits.

set -euo pipefail

: "${ZAGONETAR_BIN:?ZAGONETAR_BIN must name the game binary}"
: "${MAKE_TEST_ARCHIVES:?MAKE_TEST_ARCHIVES must name the stand-in archive tool}"
: "${XCLOSE:?XCLOSE must name the close-button tool}"

E2E_TMP=$(mktemp -d /tmp/zagonetar-e2e-XXXXXX)
E2E_SHOTS=${E2E_SHOTS:-$E2E_TMP/shots}
mkdir -p "$E2E_SHOTS"
XVFB_PID=
GAME_PID=
GAME_DIR=
GAME_WIN=
WIN_X=0 WIN_Y=0 # where the game window lies on the display
GAME_STATUS=
# The pause between an input and the next one: a few 33 ms frames.
FRAME_WAIT=${FRAME_WAIT:-0.15}

e2e_cleanup() {
    if [[ -n $GAME_PID ]] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID" 2>/dev/null || true
        wait "$GAME_PID" 2>/dev/null || true
    fi
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# Says what went wrong, with what the game printed, and ends the script.
fail() {
    echo "FAIL: $*" >&2
    if [[ -n $GAME_DIR && -e $GAME_DIR/stdout ]]; then
        echo "--- game standard output:" >&2
        cat "$GAME_DIR/stdout" >&2
        echo "--- game standard error:" >&2
        cat "$GAME_DIR/stderr" >&2
    fi
    exit 1
}

# Starts Xvfb on a display it picks itself (-displayfd) and exports DISPLAY.
start_xvfb() {
    local fdfile=$E2E_TMP/display
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$fdfile" 2>"$E2E_TMP/xvfb.log" &
    XVFB_PID=$!
    local i
    for ((i = 0; i < 100; i++)); do
        if [[ -s $fdfile ]]; then
            export DISPLAY=":$(head -n1 "$fdfile")"
            xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || { cat "$E2E_TMP/xvfb.log" >&2; fail "Xvfb did not start"; }
        sleep 0.1
    done
    fail "Xvfb did not answer"
}

# A fresh game folder with the three archives: the real ones when they are built,
# else stand-ins. Sets GAME_DIR and says which on standard error.
make_game_folder() {
    GAME_DIR=$(mktemp -d "$E2E_TMP/game-XXXXXX")
    local real=${ZAGONETAR_GAME_DIR:-} name
    if [[ -n $real && -f $real/imgres001.bin && -f $real/sndres001.bin && -f $real/fntres001.bin ]]; then
        for name in imgres001.bin sndres001.bin fntres001.bin; do
            cp "$real/$name" "$GAME_DIR/"
        done
        USING_REAL_ASSETS=1
    else
        "$MAKE_TEST_ARCHIVES" "$GAME_DIR"
        USING_REAL_ASSETS=0
    fi
}

# Starts the game in a new folder and waits for its window. The audio driver is the
# dummy one unless the caller chose another: the machines that run this have no sound.
start_game() {
    make_game_folder
    GAME_STATUS=
    (
        cd "$GAME_DIR"
        exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" \
            "$ZAGONETAR_BIN" >stdout 2>stderr
    ) &
    GAME_PID=$!
    wait_line "cDugme Init" 20
    GAME_WIN=
    local i
    for ((i = 0; i < 100; i++)); do
        GAME_WIN=$(xdotool search --name Zagonetar 2>/dev/null | head -n1 || true)
        [[ -n $GAME_WIN ]] && break
        sleep 0.1
    done
    [[ -n $GAME_WIN ]] || fail "no window named Zagonetar"
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$GAME_WIN" | grep -E '^[XY]=')"
    WIN_X=$X WIN_Y=$Y
    xdotool windowfocus --sync "$GAME_WIN" 2>/dev/null || xdotool windowfocus "$GAME_WIN"
    sleep "$FRAME_WAIT"
}

# The game's standard output so far.
game_trace() {
    cat "$GAME_DIR/stdout"
}

# Waits until the game has printed LINE (a whole line); fails after TIMEOUT seconds.
wait_line() {
    local line=$1 timeout=${2:-10} i
    for ((i = 0; i < timeout * 10; i++)); do
        grep -qxF -- "$line" "$GAME_DIR/stdout" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "the game never printed \"$line\""
}

# Fails unless the trace so far is exactly the lines given.
expect_trace() {
    local expected
    expected=$(printf '%s\n' "$@")
    [[ $(game_trace) == "$expected" ]] || fail "trace differs; expected:
$expected"
}

# Moves the pointer to (X, Y) in the game window and lets a frame pass.
move_to() {
    xdotool mousemove --window "$GAME_WIN" "$1" "$2"
    sleep "$FRAME_WAIT"
}
press() {
    xdotool mousedown "${1:-1}"
    sleep "$FRAME_WAIT"
}
release() {
    xdotool mouseup "${1:-1}"
    sleep "$FRAME_WAIT"
}
click_at() {
    move_to "$1" "$2"
    press
    release
}

# Presses and releases a key (an X keysym name such as Escape, Return, Down, F11).
key() {
    xdotool key --clearmodifiers "$1"
    sleep "$FRAME_WAIT"
}

# Saves the whole display as $E2E_SHOTS/NAME.png and prints the path.
screenshot() {
    local path=$E2E_SHOTS/$1.png
    import -window root "$path"
    echo "$path"
}

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
close_window() {
    "$XCLOSE" "$GAME_WIN"
}

# Waits for the game to end (TIMEOUT seconds) and sets GAME_STATUS.
wait_exit() {
    local timeout=${1:-15} i
    for ((i = 0; i < timeout * 10; i++)); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            GAME_STATUS=0
            wait "$GAME_PID" || GAME_STATUS=$?
            GAME_PID=
            return 0
        fi
        sleep 0.1
    done
    fail "the game did not end within $timeout s"
}

expect_status() {
    [[ $GAME_STATUS == "$1" ]] || fail "exit status $GAME_STATUS, expected $1"
}

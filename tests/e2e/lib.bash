# Shared by the whole-program tests: Xvfb, the real game driven with xdotool, screenshots.
# Everything started here is stopped when the sourcing script exits.
set -euo pipefail
: "${ZAGONETAR_BIN:?the game binary}" "${XCLOSE:?the close-button tool}"
E2E_TMP=$(mktemp -d /tmp/zagonetar-e2e-XXXXXX)
mkdir -p "${E2E_SHOTS:=$E2E_TMP/shots}"
XVFB_PID= GAME_PID= GAME_DIR= GAME_WIN= WIN_X=0 WIN_Y=0 SEEN=
trap 'for pid in $GAME_PID $XVFB_PID; do kill $pid && wait $pid || true; done 2>/dev/null; rm -rf "$E2E_TMP"' EXIT

# Says what went wrong, with what the game printed, and ends the script.
fail() {
    echo "FAIL: $*${SEEN:+ (read: $SEEN)}" >&2
    [[ -z $GAME_DIR ]] || tail -n +1 "$GAME_DIR"/std* >&2 || true
    exit 1
}

# Runs COMMAND every 0.1 s until it succeeds; fails with MESSAGE after SECONDS.
poll() {
    local i
    for ((i = 0; i < $1 * 10; i++)); do "${@:3}" && SEEN= && return; sleep 0.1; done
    fail "$2"
}

# Xvfb on a display it picks itself, its screen XVFB_SCREEN (WIDTHxHEIGHTxDEPTH).
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-800x600x24}" -nolisten tcp -noreset 3>"$E2E_TMP/display" &
    XVFB_PID=$!
    poll 10 "Xvfb did not start" test -s "$E2E_TMP/display"
    export DISPLAY=:$(<"$E2E_TMP/display")
}

# The game with the options given, in a fresh folder with the archives of ZAGONETAR_GAME_DIR when it
# names one, sound to the dummy driver (these machines have none); waits for its first picture, and
# unless QUIET is set (its output going elsewhere) for its first lines.
start_game() {
    GAME_DIR=$(mktemp -d "$E2E_TMP/game-XXXXXX")
    [[ -z ${ZAGONETAR_GAME_DIR:-} ]] || cp "$ZAGONETAR_GAME_DIR"/{img,snd,fnt}res001.bin "$GAME_DIR/"
    (cd "$GAME_DIR" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "$ZAGONETAR_BIN" "$@" >stdout 2>stderr) &
    GAME_PID=$! GAME_WIN=
    [[ -n ${QUIET:-} ]] || wait_line "cDugme Init" 20
    poll 10 "no window named Zagonetar" game_window
    poll 10 "the window stays black" drawn
    xdotool windowfocus --sync "$GAME_WIN" 2>/dev/null || xdotool windowfocus "$GAME_WIN"
}
game_window() {
    eval "$(xdotool search --name Zagonetar getwindowgeometry --shell |
        sed -n 's/^WINDOW=/GAME_WIN=/p; s/^\([XY]\)=/WIN_\1=/p')" && [[ -n $GAME_WIN ]]
}
drawn() { [[ $(import -window root png:- | convert - -format '%[max]' info:) != 0 ]]; }

# Waits until the game has printed LINE (a whole line) COUNT times, for at most SECONDS.
wait_line() { poll "${2:-10}" "the game never printed \"$1\" ${3:-1} times" printed "$1" "${3:-1}"; }
printed() { local n; n=$(grep -sxcF -- "$1" "$GAME_DIR/stdout"); ((${n:-0} >= $2)); }

# Waits for the game to end; fails unless its exit status is STATUS and it printed exactly the lines given.
expect_end() {
    poll 15 "the game did not end" eval '! kill -0 $GAME_PID 2>/dev/null'
    wait "$GAME_PID" && status=0 || status=$?
    GAME_PID=
    [[ $status == "$1" ]] || fail "exit status $status, expected $1"
    [[ $(<"$GAME_DIR/stdout") == "$(printf '%s\n' "${@:2}")" ]] || fail "trace differs; expected: ${*:2}"
}

# Input in the window. SDL takes X events in order: only the game's changes of screen need waiting for.
click() { xdotool mousemove --window "$GAME_WIN" "$1" "$2" click "${3:-1}"; }
key() { xdotool key --clearmodifiers "$@"; }

# Saves the whole display as $E2E_SHOTS/NAME.png and prints the path.
screenshot() { import -window root "$E2E_SHOTS/$1.png" && echo "$E2E_SHOTS/$1.png"; }
# A checksum of the area X Y W H (1 x 1 if not given) of the window in screenshot SHOT.
shot_area() { convert "$1" -crop "${4:-1}x${5:-1}+$((WIN_X + $2))+$((WIN_Y + $3))" +repage -format '%#' info:; }
# Takes screenshot NAME, path in SHOT, until its area X Y [W H] is OP (= or !=) that in screenshot REF.
shot_until() { poll 10 "screenshot $1 never came" shot_is "$@"; }
shot_is() { SHOT=$(screenshot "$1") && test "$(shot_area "$SHOT" "${@:4}")" "$2" "$(shot_area "$3" "${@:4}")"; }

# The log puzzle, read from screenshots.
HEIGHTS=(48 63 80 96 112 130 144 160 175 195) # log heights, shortest first: the logs 0 to 9

# Reads screenshot $1 where a log stops looking unlike the background beside it, the middle of three
# reads (a band or letter over it does not count). "home": the column (30, 80, ..., 480; top y 48) of
# each log, shortest first, failing unless all ten stand there; "placed": each slot's log height or 0.
measure() {
    python3 - "$1" "$2" "${HEIGHTS[@]}" <<EOF
import subprocess, sys
shot, mode, *want = sys.argv[1:]
raw = subprocess.run(["convert", shot + "[640x480+$WIN_X+$WIN_Y]", "-depth", "8", "rgb:-"],
                     check=True, capture_output=True).stdout
px = lambda x, y: raw[(y * 640 + x) * 3:(y * 640 + x) * 3 + 3]
def read(x, ref, y, step):
    y0 = y
    while 0 <= y < 480 and sum(abs(p - q) for p, q in zip(px(x, y), px(ref, y))) > 60:
        y += step
    return abs(y - y0)
height = lambda x, y, step, ref: sorted(read(x + dx, x + ref, y, step) for dx in (5, 14, 23))[1]
if mode == "placed":
    print(*[height(16 + 40 * k, 372, -1, -5) for k in range(10)])
else:
    got, want = [height(30 + 50 * c, 48, 1, -6) for c in range(10)], [int(h) for h in want]
    print(*(got if sorted(got) != want else [30 + 50 * got.index(h) for h in want]))
    sys.exit(sorted(got) != want)
EOF
}

# A fresh puzzle in screenshot NAME: the ten logs at the top, where each stands read into COLUMN_OF.
new_puzzle() { poll 10 "no new puzzle's logs at the top" home "$1"; }
home() { SHOT=$(screenshot "$1") && SEEN=$(measure "$SHOT" home) && COLUMN_OF=($SEEN); }

# Screenshot NAME shows the slots holding logs of the heights given (0: empty), in order.
placed() { SHOT=$(screenshot "$1") && SEEN=$(measure "$SHOT" placed) && [[ $SEEN == "$2" ]]; }
# Screenshot NAME shows the verdict as in the last one, the hint written, both unlike BEFORE's.
settled() {
    local was=$VERDICT
    SHOT=$(screenshot "$1") && VERDICT=$(shot_area "$SHOT" 180 200 72 19)
    [[ $VERDICT == "$was" ]] && changed 180 200 72 19 && changed 120 324 247 19
}
changed() { [[ $(shot_area "$SHOT" "$@") != $(shot_area "$BEFORE" "$@") ]]; }

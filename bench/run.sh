#!/usr/bin/env bash
# Measures the game: frame costs per screen, start-up time, memory, idle CPU and frame
# pacing. Usage: bench/run.sh BENCH_BUILD_DIR GAME_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
game=$(cd "$2" && pwd)
probe=$build/bench/zagonetar-probe

# A private X server the size of a common desktop, kept from resetting between clients as a
# desktop's would be.
display=
for n in $(seq 90 130); do
    if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then display=:$n; break; fi
done
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY=$display

# CPU the real game uses over ten idle seconds on the intro. AUDIO is SDL's audio driver:
# dummy, or disk for sound really mixed (into /dev/null, at a sound card's pace). F11 is
# yes to press F11 once first. The rest are the game's options.
idle_cpu() {
    local label=$1 audio=$2 f11=$3
    shift 3
    SDL_AUDIODRIVER=$audio SDL_DISKAUDIOFILE=/dev/null ./zagonetar "$@" >/dev/null 2>&1 &
    local pid=$! before after ticks rss
    sleep 2
    if [ "$f11" = yes ]; then
        xdotool search --sync --name Zagonetar windowfocus --sync key F11 >/dev/null 2>&1
        sleep 1
    fi
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 10
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    rss=$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$pid/status")
    kill -TERM "$pid"; wait "$pid" || true
    ticks=$(getconf CLK_TCK)
    awk -v t=$((after - before)) -v hz="$ticks" -v l="$label" -v rss="$rss" 'BEGIN { printf "idle_cpu %-28s %.2f%% of one core (%d ticks of 1/%d s in 10 s), resident %.1f MB\n", l, 100 * t / hz / 10, t, hz, rss / 1024 }'
}

echo "== $(. /etc/os-release && echo "$PRETTY_NAME"), SDL $(pkg-config --modversion sdl 2>/dev/null)"
echo
frames=$("$build/bench/frame_bench" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null)
echo "== One frame's HandleEvents, Update and Draw per screen, 32-bit display"
grep -E '^(Benchmark|FrameCopy|Intro|Dialog|Selection|Puzzle).*_median|^Benchmark' <<<"$frames"

echo
echo "== Presenting a changed frame enlarged, against a memcpy of the enlarged frame's bytes"
awk '$1 ~ /^(ScaledCopy|Present)\/[0-9]_median$/ && $3 == "ns" {
        split($1, name, /[\/_]/); t[name[1], name[2]] = $2; scales[name[2]] = 1 }
     END { for (s in scales) printf "present_x%s %.0f us, memcpy %.0f us: %.2f x\n",
               s, t["Present", s] / 1000, t["ScaledCopy", s] / 1000, t["Present", s] / t["ScaledCopy", s] }' \
    <<<"$frames" | sort

cd "$game"
echo
echo "== Process start to the first flipped frame (real archives, no audio device, X server)"
for _ in 1 2 3 4 5; do
    SDL_AUDIODRIVER=none python3 -c 'import os,sys,time; p=sys.argv[1]; os.execv(p,[p,"first-frame","%.3f"%(time.monotonic()*1000)])' "$probe" 2>/dev/null | grep first_frame_ms
done

echo
echo "== The same with the dummy audio device: the sounds are loaded, the music is not decoded yet"
for _ in 1 2 3 4 5; do
    SDL_AUDIODRIVER=dummy python3 -c 'import os,sys,time; p=sys.argv[1]; os.execv(p,[p,"first-frame","%.3f"%(time.monotonic()*1000)])' "$probe" 2>/dev/null | grep first_frame_ms
done

echo
echo "== The landscape's first frame, where the music is decoded, and the puzzle's longest frame in its first second"
for _ in 1 2 3; do
    SDL_AUDIODRIVER=dummy "$probe" first-puzzle 2>/dev/null | grep _ms | paste -sd' '
done

echo
echo "== Resident memory (with the audio device; the MIDI synthesizer from the first puzzle on)"
SDL_AUDIODRIVER=dummy "$probe" memory 2>/dev/null | grep rss

echo
echo "== CPU used over ten idle seconds on the intro, in every display mode, on a 1920 x 1080 desktop"
for audio in dummy disk; do
    idle_cpu "window, $audio audio" $audio no
    idle_cpu "F11 full screen, $audio audio" $audio yes
    idle_cpu "--scale 2, $audio audio" $audio no --scale 2
    idle_cpu "--fullscreen, $audio audio" $audio no --fullscreen
done

echo
echo "== Intervals between flips over ten seconds of play (a log being dragged)"
SDL_AUDIODRIVER=dummy "$probe" intervals 2>/dev/null | grep -v '^c[A-Z]'

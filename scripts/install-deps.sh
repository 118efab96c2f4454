#!/bin/sh
# Installs the Debian packages Zagonetar needs. `install-deps.sh` alone: what building
# and running the game takes. `install-deps.sh test`: the test tools as well.
# Quiet when everything is already there; uses sudo when not run as root.
set -e

PACKAGES="
g++ cmake ninja-build pkg-config make
libsdl1.2-dev libsdl-mixer1.2-dev libsdl-image1.2-dev
timgm6mb-soundfont
librsvg2-dev libimagequant-dev libgif-dev
fonts-sil-andika fonts-comfortaa
"
if [ "${1:-}" = test ]; then
    PACKAGES="$PACKAGES
clang libclang-rt-dev
libgtest-dev libbenchmark-dev libx11-dev python3
xvfb xauth xdotool imagemagick x11-utils
librsvg2-bin dpkg-dev lintian file desktop-file-utils appstream
"
fi

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null

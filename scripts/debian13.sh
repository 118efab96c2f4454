#!/bin/sh
# Runs make targets in a fresh Debian 13 root, as on a new machine whose SDL 1.2 is
# sdl12-compat: `debian13.sh test package`. The root starts as a minimal system with
# git and make, the project is cloned into it from this checkout's HEAD, and make
# itself installs everything else. Needs root (uses sudo otherwise).
#
# The minimal system and the downloaded packages are kept between runs in
# ZAGONETAR_DEBIAN13_CACHE (default /var/cache/zagonetar/debian13); each run copies
# the system afresh and throws it away after.
set -eu

[ "$#" -gt 0 ] || set -- test
if [ "$(id -u)" -ne 0 ]; then
    exec sudo ZAGONETAR_DEBIAN13_CACHE="${ZAGONETAR_DEBIAN13_CACHE:-}" "$0" "$@"
fi

repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
cache=${ZAGONETAR_DEBIAN13_CACHE:-/var/cache/zagonetar/debian13}
base=$cache/base
archives=$cache/archives

# The Debian mirror this machine already uses, from its apt sources (one-line or deb822).
mirror() {
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
        2>/dev/null |
        awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^https?:/) { print $i; break } }
             tolower($1) == "uris:" { print $2 }' |
        grep -v -- '-security' | head -n 1
}

if [ ! -x "$base/usr/bin/git" ]; then
    command -v debootstrap >/dev/null || {
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
    }
    url=$(mirror)
    [ -n "$url" ] || { echo "debian13: no Debian mirror in this machine's apt sources" >&2; exit 1; }
    echo "debian13: making a minimal Debian 13 from $url"
    rm -rf "$base.new"
    mkdir -p "$cache"
    debootstrap --variant=minbase --include=git,make,ca-certificates trixie "$base.new" "$url" \
        >"$cache/debootstrap.log" 2>&1 || {
        tail -n 20 "$cache/debootstrap.log" >&2
        echo "debian13: debootstrap failed; see $cache/debootstrap.log" >&2
        exit 1
    }
    rm -rf "$base"
    mv "$base.new" "$base"
fi

root=$(mktemp -d /var/tmp/zagonetar-debian13.XXXXXX)
mounted=""
finish() {
    for m in $mounted; do umount -l "$root$m" 2>/dev/null || true; done
    rm -rf --one-file-system "$root"
}
trap finish EXIT
trap 'exit 130' INT TERM

cp -a "$base/." "$root/"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mkdir -p "$archives/partial"
# debootstrap made the device nodes; the host's own /dev stays out of it.
for m in /proc /sys /dev/pts /dev/shm /var/cache/apt/archives; do
    mkdir -p "$root$m"
    case $m in
        /proc) mount -t proc proc "$root/proc" ;;
        /sys) mount -t sysfs sys "$root/sys" ;;
        /dev/pts) mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts" ;;
        /dev/shm) mount -t tmpfs shm "$root/dev/shm" ;;
        /var/cache/apt/archives) mount --bind "$archives" "$root$m" ;;
    esac
    mounted="$m $mounted"
done

git clone -q --no-hardlinks "$repo" "$root/root/zagonetar"
echo "debian13: make $* in a fresh Debian 13 ($(cat "$root/etc/debian_version"))"
chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    sh -c 'cd /root/zagonetar && make "$@"' make "$@"

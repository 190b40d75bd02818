#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Runs COMMAND as root in a fresh Debian root file system of release CODENAME (trixie, bookworm),
# with a fresh clone of this project's commit in /root/lopwinder as its working folder, as a
# newcomer on a new machine would have it. Each FILE given with --with is copied into /root/in
# there; what COMMAND leaves in /root/out is copied to OUT_FOLDER at the end, whatever it returns.
#
# The system comes from the archive that this machine's apt sources name (its mirror, and its
# proxy when apt has one), never from an address of ours. Its base is made once with mmdebstrap and
# kept as a tarball under ~/.cache/lopwinder/, keyed by what went into it; each run unpacks it anew,
# brings it up to date with apt, and keeps the downloaded packages, and what the project caches in
# ~/.cache/lopwinder there (Qt for Windows), in the cache for the next run.
# Its mounts (proc, sys, dev, dev/pts, dev/shm, run, tmp) live in a mount and PID namespace of
# their own: they and every process started inside end with COMMAND, even when it fails or the run
# is interrupted, and nothing of this machine changes but the cache folder.
# Usage: debian-root.sh CODENAME OUT_FOLDER [--with FILE]... COMMAND...
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
[ $# -ge 3 ] || {
    echo "usage: debian-root.sh CODENAME OUT_FOLDER [--with FILE]... COMMAND..." >&2
    exit 2
}
codename=$1 out=$(realpath -m "$2")
shift 2
with=()
while [ "${1:-}" = --with ]; do with+=("$(realpath "$2")"); shift 2; done
[ "$(id -u)" -eq 0 ] || { echo "debian-root: mounts and chroot need root" >&2; exit 1; }

scripts/apt-install.sh mmdebstrap

# The machine's own Debian archive and security archive, as apt knows them.
repo_of() {
    apt-get indextargets --format '$(REPO_URI)' "Label: $1" 'Created-By: Packages' | head -n 1
}
mirror=$(repo_of Debian)
security=$(repo_of Debian-Security)
[ -n "$mirror" ] || {
    echo "debian-root: this machine's apt sources name no Debian archive to make $codename from" >&2
    exit 1
}
sources=("deb $mirror $codename main" "deb $mirror $codename-updates main"
         "deb-src $mirror $codename main")
[ -z "$security" ] || sources+=("deb $security $codename-security main")
# A proxy that apt here goes through is the root system's too.
aptopts=()
while IFS= read -r line; do aptopts+=(--aptopt="$line"); done < <(apt-config dump |
    grep -E '^Acquire::[a-z]+::Proxy' || true)
base_packages=ca-certificates,git

key=$( (printf '%s\n' "$codename" "${sources[@]}" "${aptopts[@]}" "$base_packages"
        mmdebstrap --version) | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lopwinder/debian-root
tarball=$cache/$codename-$key.tar
debs=$cache/$codename-debs
mkdir -p "$cache" "$debs/partial"
if [ ! -f "$tarball" ]; then
    echo "debian-root: making a $codename root file system from $mirror (once)"
    rm -f "$cache/$codename"-*.tar
    mmdebstrap --quiet --variant=apt --format=tar --include="$base_packages" "${aptopts[@]}" \
        "$codename" "$tarball.part" "${sources[@]}"
    mv "$tarball.part" "$tarball"
fi

# A run killed outright (SIGKILL) leaves its unpacked system behind; gone the next day.
find "$cache" -maxdepth 1 -name 'run-*' -mmin +1440 -exec rm -rf --one-file-system {} +
root=$(mktemp -d "$cache/run-$codename-XXXXXX")
# By then the mounts are gone with their namespace, which never shared them with this one.
trap 'rm -rf --one-file-system "$root"' EXIT
trap 'exit 130' INT TERM
tar -C "$root" -xf "$tarball"
git clone -q "$project" "$root/root/lopwinder"
mkdir -p "$root/root/in" "$root/root/out" "$root/var/cache/apt/archives" "$root/root/.cache/lopwinder" \
    "$cache/$codename-cache"
((${#with[@]} == 0)) || cp "${with[@]}" "$root/root/in/"

# Inside the namespaces: mount, then chroot. PID 1 there is this script; when it ends, the kernel
# ends every process left and drops every mount.
inner=$(cat <<'EOF'
set -eu
root=$1 debs=$2 cache=$3
shift 3
mount --make-rprivate /
mount -t proc proc "$root/proc"
mount -t sysfs -o ro sysfs "$root/sys"
mount -t tmpfs -o mode=755,size=64k dev "$root/dev"
for node in null zero full random urandom tty; do
    touch "$root/dev/$node"
    mount --bind "/dev/$node" "$root/dev/$node"
done
mkdir -p "$root/dev/pts" "$root/dev/shm"
mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$root/dev/pts"
ln -s pts/ptmx "$root/dev/ptmx"
ln -s /proc/self/fd "$root/dev/fd"
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
mount -t tmpfs -o mode=755 run "$root/run"
mount -t tmpfs -o mode=1777 tmp "$root/tmp"
mount --bind "$debs" "$root/var/cache/apt/archives"
mount --bind "$cache" "$root/root/.cache/lopwinder"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
exec chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin CI="${CI:-}" \
    /bin/bash -c 'cd /root/lopwinder && "$@"' _ "$@"
EOF
)
status=0
unshare --mount --pid --fork --kill-child bash -c "$inner" _ "$root" "$debs" "$cache/$codename-cache" bash -c '
    set -e
    . /etc/os-release
    echo "== $PRETTY_NAME: $*"
    apt-get update -qq
    # Up to date, as a machine a newcomer sets up would be; the downloads stay in the cache.
    DEBIAN_FRONTEND=noninteractive apt-get upgrade -y -qq >/dev/null
    apt-get autoclean -qq >/dev/null
    "$@"' _ "$@" || status=$?
mkdir -p "$out"
cp -a "$root/root/out/." "$out/" 2>/dev/null || true
exit $status

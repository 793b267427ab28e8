#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command in a throwaway minimal Debian of the given release, as a new user's fresh
# install would: debootstrap makes it under a temporary folder, a clean clone of this checkout
# (its committed state) goes into /root/domino-tiles, and the command runs there as root.
# Whatever happens, the system is unmounted and deleted afterwards.
#   scripts/on-debian.sh trixie ./test.sh
#   scripts/on-debian.sh bookworm ./run.sh
# DEBIAN_MIRROR overrides the mirror (http://deb.debian.org/debian); TMPDIR the folder.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 RELEASE COMMAND..." >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=DEBIAN_MIRROR,TMPDIR "$0" "$@"
fi
release=$1
shift
checkout=$(cd "$(dirname "$0")/.." && pwd)
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
command -v debootstrap >/dev/null || {
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
}

work=$(mktemp -d "${TMPDIR:-/tmp}/domino-debian-$release-XXXXXX")
root=$work/root

cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    set +e
    # Whatever the command left running inside (a display server, a bus) would hold the
    # mounts.
    local link pid
    for link in /proc/[0-9]*/root; do
        [ "$(readlink "$link" 2>/dev/null)" = "$root" ] || continue
        pid=${link#/proc/}
        kill -KILL "${pid%/root}" 2>/dev/null || true
    done
    local mount
    for mount in dev/shm dev sys proc; do
        mountpoint -q "$root/$mount" && umount -R "$root/$mount"
    done
    # Deleted only once nothing of the host is mounted inside any more.
    if findmnt -rno TARGET | grep -qF "$root/"; then
        echo "on-debian: still mounted under $root, left in place" >&2
    else
        rm -rf --one-file-system "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

echo "on-debian: making a minimal Debian $release in $root"
debootstrap --variant=minbase "$release" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 || {
    tail -20 "$work/debootstrap.log" >&2
    exit 1
}
git clone --quiet "$checkout" "$root/root/domino-tiles"
# Packages installed inside start no services.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"

mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
# Its own shared memory, not the host's.
mount -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"

# npm's registry is reached as the host reaches it: a network that inspects its traffic signs
# with an authority that only the host's own certificates hold.
trust=()
if [ -f /etc/ssl/certs/ca-certificates.crt ]; then
    cp /etc/ssl/certs/ca-certificates.crt "$root/etc/host-certificates.crt"
    trust=(NODE_EXTRA_CA_CERTS=/etc/host-certificates.crt)
fi

echo "on-debian: running $* in Debian $release"
env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 "${trust[@]}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    chroot "$root" /bin/bash -c 'cd /root/domino-tiles && exec "$@"' on-debian "$@"

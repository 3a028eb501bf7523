#!/usr/bin/env bash
# Tries the README's commands where nothing was installed before them: makes a bare Debian of the given
# release with debootstrap, from the Debian archive that this machine's apt uses, copies the
# committed tree of this checkout into it (what is not committed is not tried) and runs ./test.sh
# there as root, or the given command. Prints how long it took; exits with the command's status.
# Needs root and debootstrap, and the package mirror; with the whole suite it takes 15 to 30 minutes
# on two cores. Not part of ./test.sh.
# Usage: scripts/fresh-debian.sh RELEASE [COMMAND...]        (RELEASE: bookworm, trixie, ...)
#   The tree goes to a new folder under KESTRIGAN_FRESH_DIR (/var/tmp by default) and is removed
#   afterwards; KESTRIGAN_FRESH_KEEP=1 keeps it for a look.
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:-}
[[ -n "$release" ]] || { echo "usage: scripts/fresh-debian.sh bookworm|trixie [COMMAND...]" >&2; exit 1; }
shift
command=("$@")
[[ ${#command[@]} -gt 0 ]] || command=(./test.sh)

[[ $(id -u) -eq 0 ]] || { echo "debootstrap and chroot need root" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "debootstrap is missing: install Debian's debootstrap" >&2; exit 1; }
[[ -e /usr/share/debootstrap/scripts/$release ]] || { echo "debootstrap knows no release '$release'" >&2; exit 1; }

# The Debian archive itself, not its security archive, as this machine's apt sources name it.
archive() { apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' 'Label: Debian' | head -n 1; }
mirror=$(archive)
if [[ -z "$mirror" ]]; then
    apt-get update -qq
    mirror=$(archive)
fi
[[ -n "$mirror" ]] || { echo "this machine's apt sources name no Debian archive" >&2; exit 1; }

started=$SECONDS
elapsed() { printf '%d min %02d s' $(( (SECONDS - started) / 60 )) $(( (SECONDS - started) % 60 )); }

root=$(mktemp -d "${KESTRIGAN_FRESH_DIR:-/var/tmp}/kestrigan-$release.XXXXXX")
chmod 755 "$root"  # apt fetches as its own user, who must reach the tree
mounted=()
cleanup() {
    local unmounted=1 link
    # What the command left running in the tree (a display server, say) ends with it.
    for link in /proc/[0-9]*/root; do
        if [[ "$(readlink "$link" 2>/dev/null)" == "$root" ]]; then
            kill "$(basename "$(dirname "$link")")" 2>/dev/null || true
        fi
    done
    for (( i = ${#mounted[@]} - 1; i >= 0; i-- )); do
        umount "${mounted[$i]}" || umount -l "${mounted[$i]}" || unmounted=0
    done
    if [[ "${KESTRIGAN_FRESH_KEEP:-}" == 1 || $unmounted -eq 0 ]]; then
        echo "The tree is kept in $root"
    else
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT

echo "== debootstrap $release from $mirror into $root"
debootstrap --variant=minbase "$release" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 \
    || { tail -n 30 "$root.debootstrap.log" >&2; exit 1; }
rm -f "$root.debootstrap.log"
echo "made in $(elapsed)"

mount_in() {
    local target=$root/$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounted+=("$target")
}
mount_in proc -t proc proc
mount_in sys -t sysfs -o ro sysfs
mount_in dev/pts --bind /dev/pts
mount_in dev/shm -t tmpfs -o mode=1777 tmpfs
# Name resolution for apt; a package's start-up script must not start a service outside the tree.
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"

echo "== the committed tree of $(git rev-parse --short HEAD) into /root/kestrigan"
[[ -z "$(git status --porcelain --untracked-files=no)" ]] || echo "(changes not committed are left out)"
mkdir -p "$root/root/kestrigan"
git archive HEAD | tar -x -C "$root/root/kestrigan"

echo "== ${command[*]} on $release as root"
status=0
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c 'cd /root/kestrigan && exec "$@"' bash "${command[@]}" || status=$?
echo "== ${command[*]} on $release exited $status after $(elapsed) in all"
exit $status

#!/usr/bin/env bash
# Builds the Debian package twice from the committed tree and checks that the two builds are the
# same to the byte. The second build differs from the first in everything that must not matter:
# the folder it is built in (and how deep that lies), the umask, the time zone, the locale and the
# time of day. Prints the packages' checksums; where the two differ, diffoscope says how (or, without
# it, the files of the package whose contents differ). Needs dpkg-buildpackage and the Build-Depends.
# Usage: scripts/check-reproducible.sh [OUTPUT_DIR]   (the packages are kept there when given)
#   The source is the checkout's committed tree, or where there is no checkout (a tree copied onto a
#   bare Debian), the tree as it stands, which must then hold no build.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v dpkg-buildpackage >/dev/null || { echo "dpkg-buildpackage is missing: install Debian's dpkg-dev" >&2; exit 1; }
dpkg-checkbuilddeps >/dev/null || { echo "the Build-Depends are not all installed (apt-get build-dep ./)" >&2; exit 1; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kestrigan-reproducible.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
output=${1:-$scratch/output}

# One build of the committed tree in FOLDER, with the given umask, time zone and locale.
build() {
    local folder=$1 mask=$2 zone=$3 locale=$4
    mkdir -p "$folder/kestrigan"
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git archive HEAD | tar -x -C "$folder/kestrigan"
    else
        tar -c --exclude=./obj-\* . | tar -x -C "$folder/kestrigan"
    fi
    echo "== build in $folder (umask $mask, TZ=$zone, LC_ALL=$locale)"
    local started=$SECONDS
    (cd "$folder/kestrigan" && umask "$mask" && TZ=$zone LC_ALL=$locale \
        dpkg-buildpackage -us -uc -b >"$folder/build.log" 2>&1) \
        || { tail -n 40 "$folder/build.log" >&2; echo "the build in $folder failed" >&2; exit 1; }
    echo "built in $(( SECONDS - started )) s"
}

build "$scratch/first" 0022 UTC C.UTF-8
build "$scratch/second/a/much/deeper/folder" 0002 Asia/Shanghai "$(locale -a | grep -m1 -ix 'zh_CN.utf8' || echo C)"

mkdir -p "$output"
status=0
for first in "$scratch"/first/*.deb "$scratch"/first/*.ddeb; do
    [[ -e "$first" ]] || continue
    name=$(basename "$first")
    second=$scratch/second/a/much/deeper/folder/$name
    cp "$first" "$output/$name"
    if [[ ! -e "$second" ]]; then
        echo "FAIL: the second build made no $name" >&2
        status=1
    elif cmp -s "$first" "$second"; then
        echo "same: $(sha256sum "$first" | cut -d' ' -f1)  $name"
    else
        echo "FAIL: $name differs between the two builds" >&2
        status=1
        if command -v diffoscope >/dev/null; then
            diffoscope --text - "$first" "$second" | head -n 200 >&2 || true
        else
            for deb in "$first" "$second"; do
                mkdir -p "$deb.x" && dpkg-deb -R "$deb" "$deb.x"
            done
            diff -r "$first.x" "$second.x" >&2 || true
        fi
    fi
done
exit $status

#!/usr/bin/env bash
# Builds the Debian package from the source package (debian/) as the archive would, in a scratch copy
# of the source tree, then checks that it holds exactly the expected files, none of them with a run
# path or the path of the tree it was built in, that Debian's validators accept the desktop entry and
# the AppStream data, that the package depends on what the program needs at run time, and that
# lintian, with its pedantic and informational tags, finds nothing to say of the source package or
# the binary one.
# Usage: check_packaging.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
id=org.kestrigan.Kestrigan

fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream dpkg-buildpackage:dpkg-dev dh:debhelper \
            file:file readelf:binutils lintian:lintian python3:python3; do
    command -v "${tool%%:*}" >/dev/null \
        || fail "${tool%%:*} is missing: install Debian's ${tool##*:} (scripts/setup.sh --tests)"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

editor_dir=lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/kestrigan
expected=(
    usr/bin/kestrigan
    "usr/$editor_dir/libkestrigan_codeeditor.so"
    usr/share/doc/kestrigan/copyright
    usr/share/doc/kestrigan/changelog.gz
    usr/share/applications/$id.desktop
    usr/share/metainfo/$id.metainfo.xml
    usr/share/man/man1/kestrigan.1.gz
    usr/share/icons/hicolor/scalable/apps/$id.svg
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
expected_list=$(printf '%s\n' "${expected[@]}" | sort)

# No installed file may lead the program to code outside its installation: no run path in a binary,
# no path of the trees it was built from (a build tree may lie where anyone can write), in UTF-8 or in
# the UTF-16 that Qt's string literals are stored in.
check_no_build_paths() {
    local root=$1 what=$2 file found
    while IFS= read -r file; do
        if file -b "$file" | grep -q '^ELF'; then
            ! readelf -d "$file" | grep -Eq '\((RUNPATH|RPATH)\)' \
                || fail "$what ${file#"$root"/} has a run path: $(readelf -d "$file" | grep -E 'RUNPATH|RPATH')"
        fi
    done < <(find "$root" -type f)
    found=$(python3 - "$root" "$tree" "$source_dir" <<'EOF'
import os, sys
root, trees = sys.argv[1], sys.argv[2:]
for folder, _, names in os.walk(root):
    for name in names:
        with open(os.path.join(folder, name), 'rb') as file:
            data = file.read()
        for tree in trees:
            if tree.encode() in data or tree.encode('utf-16-le') in data:
                print(os.path.relpath(os.path.join(folder, name), root), 'holds the path', tree)
EOF
)
    [[ -z "$found" ]] || fail "$what files name the trees they were built from:"$'\n'"$found"
}

# The source alone: the tree without its builds, its history and what the tests left behind.
tree=$scratch/source/kestrigan
mkdir -p "$tree"
tar -C "$source_dir" -c --exclude-vcs --exclude='./build*' --exclude='./obj-*' --exclude=./tests/e2e/out \
    --exclude=__pycache__ . | tar -x -C "$tree"

echo "== dpkg-buildpackage -us -uc -Jauto (source and binary)"
(cd "$tree" && dpkg-buildpackage -us -uc -Jauto >"$scratch/build.log" 2>&1) \
    || { tail -n 60 "$scratch/build.log" >&2; fail "dpkg-buildpackage could not build the package"; }
packages=("$scratch"/source/kestrigan_*.deb)
[[ -f "${packages[0]}" ]] || fail "dpkg-buildpackage left no kestrigan_*.deb"
deb=${packages[0]}
changes=("$scratch"/source/kestrigan_*.changes)

echo "== dpkg-deb -I"
depends=$(dpkg-deb -I "$deb" | sed -n 's/^ Depends: //p')
echo "Depends: $depends"
# Worked out from the binary by dpkg-shlibdeps, apart from the font, which no library links. Debian 13
# renamed the libraries whose interface changed with the 64-bit time_t (libqt6core6t64).
for needed in libqt6widgets6 libqt6gui6 libqt6core6 'libqscintilla2-qt6-[0-9]+' libc6 libstdc\\+\\+6 fonts-noto-cjk; do
    grep -Eq "(^|[ ,|])$needed(t64)?( |,|$)" <<<"$depends" || fail "Depends lacks $needed"
done

echo "== dpkg-deb -c"
packed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort)
[[ "$packed" == "$expected_list" ]] \
    || fail "packed files differ from the expected ones:"$'\n'"$(diff <(echo "$expected_list") <(echo "$packed"))"
dpkg-deb -x "$deb" "$scratch/unpacked"
check_no_build_paths "$scratch/unpacked" packed
[[ -x "$scratch/unpacked/usr/bin/kestrigan" ]] || fail "the packed program is not executable"

echo "== desktop-file-validate"
desktop-file-validate "$scratch/unpacked/usr/share/applications/$id.desktop"
grep -qx "Exec=kestrigan" "$scratch/unpacked/usr/share/applications/$id.desktop" || fail "Exec is not the installed program"
grep -qx "Icon=$id" "$scratch/unpacked/usr/share/applications/$id.desktop" || fail "Icon is not the installed icon"

echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$scratch/unpacked/usr/share/metainfo/$id.metainfo.xml"

echo "== lintian --pedantic --display-info"
# Every tag that is an error or a warning fails; lintian's notice about running as root is no tag.
lintian_status=0
lintian --pedantic --display-info --info --fail-on error,warning "${changes[0]}" >"$scratch/lintian.log" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$scratch/lintian.log" || true
[[ $lintian_status -eq 0 ]] || fail "lintian reports errors or warnings (above)"
echo "packaging checks passed"

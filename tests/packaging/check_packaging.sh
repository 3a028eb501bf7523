#!/usr/bin/env bash
# Installs the built designer into a scratch DESTDIR and packs it as CPack's Debian package, then checks
# that both hold exactly the expected files, none of them with a run path or the path of the build or
# source tree, that Debian's validators accept the desktop entry and the AppStream data, that the
# package depends on what the program needs at run time, and that lintian finds nothing to say.
# Usage: check_packaging.sh BUILD_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
id=org.kestrigan.Kestrigan

fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream dpkg-shlibdeps:dpkg-dev file:file \
            readelf:binutils lintian:lintian python3:python3; do
    command -v "${tool%%:*}" >/dev/null \
        || fail "${tool%%:*} is missing: install Debian's ${tool##*:} (scripts/setup.sh --tests)"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

source_dir=$(sed -n 's/^Kestrigan_SOURCE_DIR:STATIC=//p' "$build_dir/CMakeCache.txt")
editor_dir=$(sed -n 's/^KESTRIGAN_CODE_EDITOR_DIR:INTERNAL=//p' "$build_dir/CMakeCache.txt")
sanitized=$(sed -n 's/^KESTRIGAN_SANITIZE:BOOL=//p' "$build_dir/CMakeCache.txt")
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
    # The sanitizers' own reports name every source file by its full path (their type and global
    # descriptors are not remapped); such a build is for the tests and is never installed.
    if [[ "$sanitized" == ON ]]; then
        echo "(sanitizer build: the trees' paths are not looked for)"
        return
    fi
    found=$(python3 - "$root" "$build_dir" "$source_dir" <<'EOF'
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

echo "== cmake --install into a scratch DESTDIR"
DESTDIR="$scratch/root" cmake --install "$build_dir" --prefix /usr >/dev/null
installed=$(cd "$scratch/root" && find . -type f -printf '%P\n' | sort)
[[ "$installed" == "$expected_list" ]] \
    || fail "installed files differ from the expected ones:"$'\n'"$(diff <(echo "$expected_list") <(echo "$installed"))"
[[ -x "$scratch/root/usr/bin/kestrigan" ]] || fail "the installed program is not executable"
check_no_build_paths "$scratch/root" installed

echo "== desktop-file-validate"
desktop-file-validate "$scratch/root/usr/share/applications/$id.desktop"
grep -qx "Exec=kestrigan" "$scratch/root/usr/share/applications/$id.desktop" || fail "Exec is not the installed program"
grep -qx "Icon=$id" "$scratch/root/usr/share/applications/$id.desktop" || fail "Icon is not the installed icon"

echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/$id.metainfo.xml"

echo "== cpack -G DEB"
(cd "$build_dir" && cpack -G DEB -B "$scratch/package" >"$scratch/cpack.log" 2>&1) \
    || { cat "$scratch/cpack.log" >&2; fail "cpack could not build the package"; }
packages=("$scratch"/package/kestrigan_*.deb)
[[ -f "${packages[0]}" ]] || fail "cpack left no kestrigan_*.deb"
deb=${packages[0]}

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

echo "== lintian"
# Every tag that is an error or a warning fails; lintian's notice about running as root is no tag.
lintian_status=0
lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$scratch/lintian.log" || true
[[ $lintian_status -eq 0 ]] || fail "lintian reports errors or warnings (above)"
echo "packaging checks passed"

#!/usr/bin/env bash
# Installs the built designer into a scratch DESTDIR and packs it as CPack's Debian package, then checks
# that both hold exactly the expected files, that Debian's validators accept the desktop entry and the
# AppStream data, and that the package depends on what the program needs at run time.
# Usage: check_packaging.sh BUILD_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
id=org.kestrigan.Kestrigan

fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream dpkg-shlibdeps:dpkg-dev file:file; do
    command -v "${tool%%:*}" >/dev/null \
        || fail "${tool%%:*} is missing: install Debian's ${tool##*:} (scripts/setup.sh --tests)"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build_dir/CMakeCache.txt")
expected=(
    usr/bin/kestrigan
    "usr/$libdir/kestrigan/libkestrigan_codeeditor.so"
    usr/share/applications/$id.desktop
    usr/share/metainfo/$id.metainfo.xml
    usr/share/man/man1/kestrigan.1.gz
    usr/share/icons/hicolor/scalable/apps/$id.svg
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
expected_list=$(printf '%s\n' "${expected[@]}" | sort)

echo "== cmake --install into a scratch DESTDIR"
DESTDIR="$scratch/root" cmake --install "$build_dir" --prefix /usr >/dev/null
installed=$(cd "$scratch/root" && find . -type f -printf '%P\n' | sort)
[[ "$installed" == "$expected_list" ]] \
    || fail "installed files differ from the expected ones:"$'\n'"$(diff <(echo "$expected_list") <(echo "$installed"))"
[[ -x "$scratch/root/usr/bin/kestrigan" ]] || fail "the installed program is not executable"

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
echo "packaging checks passed"

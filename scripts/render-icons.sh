#!/usr/bin/env bash
# Renders the PNG sizes of the icon theme from the scalable icon. The PNGs are checked in, so that a
# build needs no SVG renderer; run this after changing the SVG (needs Debian's librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons/hicolor"
svg=scalable/apps/org.kestrigan.Kestrigan.svg
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/apps/org.kestrigan.Kestrigan.png"
done

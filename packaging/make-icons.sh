#!/usr/bin/env bash
# Renders the PNG icons from kardeon.svg (needs librsvg2-bin); run after changing the drawing
# and commit the result.
set -euo pipefail
cd "$(dirname "$0")/icons"
# The sizes are those of KARDEON_ICON_SIZES in CMakeLists.txt.
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" kardeon.svg -o "hicolor/${size}x${size}/kardeon.png"
done

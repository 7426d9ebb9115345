#!/usr/bin/env bash
# Draws the two pictures: two overlapping discs, the variance two tests
# share, on a soft gradient. Needs ImageMagick (apt-get install imagemagick).
# Run it from anywhere; it writes Velk32.jpg and Velk64.jpg beside itself.
set -euo pipefail
cd "$(dirname "$0")"

draw() { # width height file
    local w=$1 h=$2 file=$3
    local r=$((w * 30 / 100)) cy=$((h / 2))
    local ax=$((w * 38 / 100)) bx=$((w * 62 / 100))
    convert -size "${w}x${h}" gradient:'#f4f7fb-#d9e4f2' \
        -fill 'rgba(31,94,168,0.55)' -stroke '#1f5ea8' -strokewidth 2 \
        -draw "circle $ax,$cy $((ax + r)),$cy" \
        -fill 'rgba(214,96,40,0.55)' -stroke '#d66028' \
        -draw "circle $bx,$cy $((bx + r)),$cy" \
        -quality 92 "$file"
}

draw 139 135 Velk32.jpg
draw 262 266 Velk64.jpg

#!/usr/bin/env bash
# Draws the two pictures: two overlapping discs, the variance two tests
# share, on a soft gradient. Needs ImageMagick (apt-get install imagemagick).
# Run it from anywhere; it writes beside itself Velk32.jpg and Velk64.jpg,
# each again at twice the size for high-resolution screens (Velk32@2x.jpg,
# Velk64@2x.jpg), and the application's icon velk.png: the splash's picture
# centred on a transparent 256 x 256 square, the size the icon theme wants.
set -euo pipefail
cd "$(dirname "$0")"

draw() { # width height scale file: the picture is width x height times scale
    local w=$(($1 * $3)) h=$(($2 * $3)) stroke=$((2 * $3)) file=$4
    local r=$((w * 30 / 100)) cy=$((h / 2))
    local ax=$((w * 38 / 100)) bx=$((w * 62 / 100))
    convert -size "${w}x${h}" gradient:'#f4f7fb-#d9e4f2' \
        -fill 'rgba(31,94,168,0.55)' -stroke '#1f5ea8' -strokewidth "$stroke" \
        -draw "circle $ax,$cy $((ax + r)),$cy" \
        -fill 'rgba(214,96,40,0.55)' -stroke '#d66028' \
        -draw "circle $bx,$cy $((bx + r)),$cy" \
        -quality 92 "$file"
}

draw 139 135 1 Velk32.jpg
draw 262 266 1 Velk64.jpg
draw 139 135 2 Velk32@2x.jpg
draw 262 266 2 Velk64@2x.jpg
convert Velk64@2x.jpg -resize 256x256 -background none -gravity center -extent 256x256 \
    -strip velk.png

#!/usr/bin/env bash
# Draws the program icon (a folder with a bar chart in front of it) with ImageMagick
# and writes resources/foldtally.ico with 16, 32 and 48 pixel images. The drawing is
# ours; rerun after changing it and commit the .ico.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One 192 x 192 master, scaled down for each size.
convert -size 192x192 xc:none \
    -stroke '#7a5a00' -strokewidth 6 \
    -fill '#e8b53a' -draw 'roundrectangle 12,36 86,70 10,10' \
    -fill '#f6cf5a' -draw 'roundrectangle 12,54 180,170 12,12' \
    -stroke '#1f3f7a' -strokewidth 5 \
    -fill '#3d7be0' -draw 'rectangle 40,112 66,156' \
    -fill '#d9443a' -draw 'rectangle 82,84 108,156' \
    -fill '#3aa455' -draw 'rectangle 124,100 150,156' \
    "$work/master.png"
for s in 16 32 48; do
    convert "$work/master.png" -filter Lanczos -resize ${s}x${s} -depth 8 "$work/icon-$s.png"
done
convert "$work/icon-16.png" "$work/icon-32.png" "$work/icon-48.png" resources/foldtally.ico
identify resources/foldtally.ico

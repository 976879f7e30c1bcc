#!/usr/bin/env bash
# Redraws the icons and the Delete bitmap under ui/resources (needs ImageMagick).
# The images are kept in the repository; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")/../ui/resources"

# A waste bin: lid, handle and a body with ribs. $1 size, $2 body colour, $3 output.
bin() {
    local s=$1 c=$2 out=$3
    local k=$((s / 16))
    convert -size ${s}x${s} xc:none -stroke black -strokewidth 1 \
        -fill "$c" -draw "polygon $((3*k)),$((4*k)) $((13*k-1)),$((4*k)) $((12*k-1)),$((15*k-1)) $((4*k)),$((15*k-1))" \
        -fill "#c0c0c0" -draw "rectangle $((2*k)),$((2*k)) $((14*k-1)),$((4*k-1))" \
        -fill none -draw "rectangle $((6*k)),$((1*k)) $((10*k-1)),$((2*k))" \
        -stroke "#404040" -draw "line $((6*k)),$((6*k)) $((6*k)),$((13*k))" \
        -draw "line $((8*k)),$((6*k)) $((8*k)),$((13*k))" -draw "line $((10*k)),$((6*k)) $((10*k)),$((13*k))" \
        -colors 16 "PNG8:$out"
}
bin 32 "#808080" icon128_32.png
bin 16 "#808080" icon128_16.png
bin 32 "#008080" icon129_32.png
bin 16 "#008080" icon129_16.png

convert -size 82x55 xc:none -fill "#800000" -stroke "#400000" -draw "roundrectangle 1,1 80,53 10,10" \
    -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 17 -gravity center -annotate +0+0 "Delete!" \
    -colors 16 PNG8:bitmap135.png

#!/usr/bin/env bash
# Redraws the images kept in the repository; run this only to change them.
#   scripts/make-images.sh            the icons and the Delete bitmap under ui/resources
#                                     (needs ImageMagick), then their Windows forms
#   scripts/make-images.sh windows    only the Windows forms, from the PNGs as they are:
#                                     icon128.ico, icon129.ico (32 and 16 pixels) and
#                                     bitmap135.bmp, all in 16 colours
#   scripts/make-images.sh theme      the desktop icons under packaging/icons: a scalable
#                                     SVG and PNGs at 16 to 256 pixels (needs rsvg-convert,
#                                     from librsvg2-bin)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# The desktop icon, the same waste bin drawn afresh for one size: every edge but the body's
# slanted sides lies on whole pixels, so each size is crisp rather than a scaled copy.
# Laid out on a 16-unit grid (u pixels a unit); $1 size in pixels.
theme_svg() {
    local s=$1 u=$(($1 / 16))
    local o=$((s / 32 > 1 ? s / 32 : 1))   # outline
    local w=$((u / 2 > 2 ? u / 2 : 2))     # ribs, centred on whole pixels
    local t=$((s >= 64 ? u : 0))           # the body tapers where there are pixels for it
    local bl=$((3 * u + u - t)) br=$((13 * u - u + t))
    cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="$s" height="$s" viewBox="0 0 $s $s">
  <path fill="#2b2f33" fill-rule="evenodd" shape-rendering="crispEdges"
        d="M$((6 * u)),$u H$((10 * u)) V$((2 * u + o)) H$((6 * u)) Z M$((6 * u + o)),$((u + o)) H$((10 * u - o)) V$((2 * u + o)) H$((6 * u + o)) Z"/>
  <polygon fill="#2b2f33" points="$bl,$((4 * u - o)) $br,$((4 * u - o)) $((12 * u)),$((15 * u)) $((4 * u)),$((15 * u))"/>
  <polygon fill="#9aa3ab" points="$((bl + o)),$((4 * u)) $((br - o)),$((4 * u)) $((12 * u - o)),$((15 * u - o)) $((4 * u + o)),$((15 * u - o))"/>
SVG
    if [ "$s" -ge 64 ]; then
        printf '  <rect fill="#c3cad0" shape-rendering="crispEdges" x="%d" y="%d" width="%d" height="%d"/>\n' \
            $((4 * u + o)) $((5 * u)) "$w" $((9 * u))
    fi
    local x ribs=(6 8 10)
    if [ "$s" -eq 16 ]; then
        ribs=(6 9)  # two one-pixel ribs, the only way to stay symmetric in 16 pixels
        w=1
    fi
    for x in "${ribs[@]}"; do
        printf '  <rect fill="#4a5057" shape-rendering="crispEdges" x="%d" y="%d" width="%d" height="%d"/>\n' \
            $((x * u - w / 2)) $((6 * u)) "$w" $((7 * u))
    done
    cat <<SVG
  <rect fill="#2b2f33" shape-rendering="crispEdges" x="$((2 * u))" y="$((2 * u))" width="$((12 * u))" height="$((2 * u))"/>
SVG
    # The lid's light face; at 16 pixels the lid is only its outline.
    if [ $((2 * u - 2 * o)) -gt 0 ]; then
        printf '  <rect fill="#d5dade" shape-rendering="crispEdges" x="%d" y="%d" width="%d" height="%d"/>\n' \
            $((2 * u + o)) $((2 * u + o)) $((12 * u - 2 * o)) $((2 * u - 2 * o))
    fi
    echo "</svg>"
}

# The .ico and .bmp files that the Windows resource script takes, in 16 colours (4 bits a
# pixel). Without +dither the quantizer moves a few pixels to a neighbouring palette entry;
# -type PaletteAlpha keeps a grey icon from being written in 32 bits. The Delete bitmap has
# no transparency in BMP3: its corners get the classic button face.
windows_images() {
    cd "$root/ui/resources"
    local n
    for n in 128 129; do
        convert "icon${n}_32.png" "icon${n}_16.png" +dither -colors 16 -type PaletteAlpha "icon$n.ico"
    done
    convert bitmap135.png -background "#c0c0c0" -flatten -alpha off +dither -colors 16 BMP3:bitmap135.bmp
    local got want
    got="$(identify -format '%f %wx%h %z\n' icon128.ico icon129.ico bitmap135.bmp)"
    want="$(printf '%s\n' 'icon128.ico 32x32 4' 'icon128.ico 16x16 4' 'icon129.ico 32x32 4' \
        'icon129.ico 16x16 4' 'bitmap135.bmp 82x55 4')"
    if [ "$got" != "$want" ]; then
        printf 'make-images: the Windows images came out as\n%s\n' "$got" >&2
        exit 1
    fi
}

if [ "${1:-}" = "windows" ]; then
    windows_images
    exit 0
fi

if [ "${1:-}" = "theme" ]; then
    out="$root/packaging/icons/hicolor"
    for s in 16 32 48 64 128 256; do
        mkdir -p "$out/${s}x${s}/apps"
        theme_svg "$s" | rsvg-convert -w "$s" -h "$s" -o "$out/${s}x${s}/apps/varnok.png"
    done
    mkdir -p "$out/scalable/apps"
    theme_svg 256 >"$out/scalable/apps/varnok.svg"
    exit 0
fi

cd "$root/ui/resources"

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

windows_images

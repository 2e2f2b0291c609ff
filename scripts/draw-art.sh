#!/bin/sh
# Draws Palvex's icon (res/Palvex.ico) and the About-box logo (res/logo.bmp) with
# ImageMagick: a dark tile carrying a touch key (ring) and a live trace through it.
# The results are committed; run this only to change the artwork.
set -eu
cd "$(dirname "$0")/../res"

tile() {  # size, output
    s=$1
    convert -size "${s}x${s}" xc:none \
        -fill '#16324f' -draw "roundrectangle 0,0 $((s-1)),$((s-1)) $((s/6)),$((s/6))" \
        -stroke '#5fd3f3' -strokewidth $((s/12 > 1 ? s/12 : 1)) -fill none \
        -draw "circle $((s/2)),$((s/2)) $((s/2)),$((s/5))" \
        -stroke '#ffd166' -strokewidth $((s/16 > 1 ? s/16 : 1)) \
        -draw "polyline $((s/10)),$((s*6/10)) $((s*3/10)),$((s*6/10)) $((s*4/10)),$((s*3/10)) $((s*5/10)),$((s*8/10)) $((s*6/10)),$((s*45/100)) $((s*7/10)),$((s*6/10)) $((s*9/10)),$((s*6/10))" \
        "$2"
}

tmp=$(mktemp -d)
for s in 16 24 32 48 64; do tile "$s" "$tmp/icon$s.png"; done
convert "$tmp/icon16.png" "$tmp/icon24.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon64.png" Palvex.ico

# The logo sits on the dialog's face colour; a 24-bit BMP without alpha.
tile 46 "$tmp/logo_tile.png"
convert -size 48x64 xc:'#f0f0f0' "$tmp/logo_tile.png" -geometry +1+1 -composite \
    -fill '#16324f' -font DejaVu-Sans-Bold -pointsize 11 -gravity south -annotate +0+2 'Palvex' \
    -type TrueColor BMP3:logo.bmp
rm -rf "$tmp"

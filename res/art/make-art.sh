#!/bin/sh
# Draws the window's artwork: the program icon, the logo, banner and tagline bitmaps and the
# hand cursor of the link labels. The PNG files are committed; run this again only to change
# them (needs ImageMagick).
set -eu
cd "$(dirname "$0")"

# Two overlapping sheets, the front one marked with an equals sign: files that are twins.
draw_sheets() { # size output
    s=$1
    convert -size "${s}x${s}" xc:none \
        -stroke '#1d3f6e' -strokewidth "$((s / 32 + 1))" \
        -fill '#9cc3ec' -draw "roundrectangle $((s*8/64)),$((s*4/64)) $((s*40/64)),$((s*46/64)) $((s/16)),$((s/16))" \
        -fill '#ffffff' -draw "roundrectangle $((s*22/64)),$((s*16/64)) $((s*56/64)),$((s*60/64)) $((s/16)),$((s/16))" \
        -stroke none -fill '#2a7d4f' \
        -draw "rectangle $((s*29/64)),$((s*31/64)) $((s*49/64)),$((s*35/64))" \
        -draw "rectangle $((s*29/64)),$((s*40/64)) $((s*49/64)),$((s*44/64))" \
        "$2"
}

draw_sheets 128 icon.png
draw_sheets 64 logo.png

# The banner: the product name on a soft band.
convert -size 836x56 gradient:'#dbe8f6'-'#f7fbff' \
    -font DejaVu-Sans-Bold -pointsize 30 -fill '#1d3f6e' -gravity west \
    -annotate +16+0 'Twinsift' \
    -font DejaVu-Sans -pointsize 17 -fill '#3b5f8a' -gravity east \
    -annotate +16+2 'finds the files you have twice' \
    banner.png

# The tagline under the banner.
convert -size 242x20 xc:none -font DejaVu-Sans-Oblique -pointsize 13 -fill '#2a7d4f' \
    -gravity west -annotate +0+0 'Less clutter, same files.' tagline.png

# The hand cursor, 32 x 32, the finger tip at (5, 0).
convert -size 32x32 xc:none -stroke '#000000' -strokewidth 1 -fill '#ffffff' \
    -draw 'roundrectangle 3,0 8,16 2,2' \
    -draw 'roundrectangle 8,8 13,19 2,2' \
    -draw 'roundrectangle 13,9 18,20 2,2' \
    -draw 'roundrectangle 18,10 23,21 2,2' \
    -draw 'roundrectangle 3,14 23,30 4,4' \
    -stroke none -draw 'rectangle 4,14 22,20' \
    cursor.png

#!/usr/bin/env bash
# Builds the benchmark corpus in DIR (default: build/bench-corpus): PNG files already on this
# machine, chosen the same way every time, plus large pictures drawn here with ImageMagick from
# fixed seeds. Nothing of it is committed.
set -euo pipefail
out=${1:?usage: make_corpus.sh DIR}
mkdir -p "$out/system" "$out/generated"

# Icons: every 12th of the sorted list, which mixes sizes 16 to 512 and all icon themes.
find /usr/share/icons -name '*.png' -type f | LC_ALL=C sort | awk 'NR % 12 == 1' >"$out/list"
# Documents, diagrams and screenshots that packages ship, and every larger PNG.
find /usr/share/doc /usr/share/info /usr/share/pixmaps /usr/share/wine -name '*.png' -type f 2>/dev/null |
    LC_ALL=C sort >>"$out/list"
find /usr/share /usr/lib -name '*.png' -type f -size +20k 2>/dev/null | LC_ALL=C sort >>"$out/list"
LC_ALL=C sort -u "$out/list" -o "$out/list"
n=0
while read -r file; do
    n=$((n + 1))
    cp "$file" "$out/system/$(printf '%04d' "$n")-$(basename "$file")"
done <"$out/list"

g=$out/generated
font=DejaVu-Sans
# text_page WIDTH POINTSIZE FILL BACKGROUND FONT OUT: the start of a licence text set as a page.
# ImageMagick refuses long captions and reading text from files, so the text goes in inline,
# a few lines per caption, and the captions are stacked.
text_page() {
    local width=$1 size=$2 fill=$3 background=$4 face=$5 target=$6 parts=() i=0 block
    while [ $i -lt 120 ]; do
        block=$(sed -n "$((i + 1)),$((i + 10))p" /usr/share/common-licenses/GPL-3 | sed 's/%/%%/g')
        parts+=(\( -size "${width}x" -background "$background" -fill "$fill" -font "$face"
            -pointsize "$size" caption:"$block" \))
        i=$((i + 10))
    done
    convert "${parts[@]}" -append "$target"
}
text_page 1080 15 '#222222' white "$font" "$g/text-light.png"
text_page 2200 18 '#101010' none "$font" "$g/text-clear.png"
text_page 1160 17 black white DejaVu-Serif "$g/text-page.png"

# Photo-like: plasma fractals, blurred a little as a camera would.
[ -f "$g/photo-1920x1080-rgb.png" ] ||
    convert -seed 11 -size 1920x1080 plasma:fractal -blur 0x1.2 "PNG24:$g/photo-1920x1080-rgb.png"
[ -f "$g/photo-2560x1440-rgba.png" ] ||
    convert -seed 12 -size 2560x1440 plasma:fractal -blur 0x1 \
        \( -size 2560x1440 radial-gradient:white-black \) -alpha off -compose CopyOpacity -composite \
        "PNG32:$g/photo-2560x1440-rgba.png"
[ -f "$g/photo-1920x1080-interlaced.png" ] ||
    convert -seed 13 -size 1920x1080 plasma:fractal -blur 0x1.5 -interlace PNG \
        "PNG24:$g/photo-1920x1080-interlaced.png"
# Screenshot-like: flat panels, a title bar and lines of text.
[ -f "$g/screenshot-1920x1080-rgb.png" ] ||
    convert -size 1920x1080 xc:'#ececec' \
        -fill '#2c3e50' -draw 'rectangle 0,0 1919,36' -fill '#ffffff' -draw 'rectangle 60,80 1180,1000' \
        -fill '#dfe6ee' -draw 'rectangle 1220,80 1860,1000' -fill '#3465a4' -draw 'rectangle 1240,100 1840,160' \
        \( "$g/text-light.png" -crop 1080x880+0+0 \) -geometry +80+100 -composite \
        "PNG24:$g/screenshot-1920x1080-rgb.png"
[ -f "$g/screenshot-2560x1600-rgba.png" ] ||
    convert -size 2560x1600 xc:none -fill '#f5f5f5f0' -draw 'roundrectangle 40,40 2520,1560 24,24' \
        \( "$g/text-clear.png" -crop 2200x1400+0+0 \) -geometry +180+120 -composite \
        "PNG32:$g/screenshot-2560x1600-rgba.png"
# A scanned-looking document page and a palette picture.
[ -f "$g/document-1240x1754-grey.png" ] ||
    convert -size 1240x1754 xc:white \( "$g/text-page.png" -crop 1160x1674+0+0 \) -geometry +40+40 \
        -composite -colorspace Gray -depth 8 "$g/document-1240x1754-grey.png"
[ -f "$g/chart-1600x1200-palette.png" ] ||
    convert -seed 14 -size 1600x1200 plasma:fractal -colors 200 "PNG8:$g/chart-1600x1200-palette.png"

rm -f "$g"/text-*.png
echo "$(find "$out/system" -type f | wc -l) files from this machine, $(find "$g" -type f | wc -l) generated, in $out"

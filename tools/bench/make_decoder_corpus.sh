#!/usr/bin/env bash
# Builds the bitmap and GIF benchmark corpus in DIR: every .bmp and .gif file already on this
# machine, plus large pictures drawn here with ImageMagick from fixed seeds in each kind of
# bitmap and GIF. Nothing of it is committed.
set -euo pipefail
out=${1:?usage: make_decoder_corpus.sh DIR}
mkdir -p "$out/system" "$out/generated"

find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /work -o -path "$out" \) -prune -o \
    -type f \( -iname '*.bmp' -o -iname '*.gif' \) -print 2>/dev/null | LC_ALL=C sort >"$out/list"
n=0
while read -r file; do
    n=$((n + 1))
    cp "$file" "$out/system/$(printf '%04d' "$n")-$(basename "$file")"
done <"$out/list"

g=$out/generated
photo() { convert -seed "$1" -size "$2" plasma:fractal -blur 0x1.2 "${@:3}"; }
screen() {
    convert -size "$1" xc:'#ececec' -fill '#2c3e50' -draw 'rectangle 0,0 1919,36' \
        -fill '#ffffff' -draw 'rectangle 60,80 1180,1000' -fill '#dfe6ee' -draw 'rectangle 1220,80 1860,1000' \
        -fill '#3465a4' -draw 'rectangle 1240,100 1840,160' -fill '#222222' \
        -draw 'rectangle 100,200 1100,210' -draw 'rectangle 100,240 900,250' -draw 'rectangle 100,280 1000,290' \
        "${@:2}"
}
[ -f "$g/photo-1920x1080-24.bmp" ] || photo 21 1920x1080 -type TrueColor "BMP3:$g/photo-1920x1080-24.bmp"
[ -f "$g/photo-2560x1440-32-alpha.bmp" ] ||
    convert -seed 22 -size 2560x1440 plasma:fractal \( -size 2560x1440 radial-gradient:white-black \) \
        -alpha off -compose CopyOpacity -composite -define bmp3:alpha=true "BMP3:$g/photo-2560x1440-32-alpha.bmp"
[ -f "$g/photo-1600x1200-16.bmp" ] || photo 23 1600x1200 -define bmp:subtype=RGB565 "BMP:$g/photo-1600x1200-16.bmp"
[ -f "$g/screen-1920x1080-8.bmp" ] || screen 1920x1080 -colors 200 -type Palette "BMP3:$g/screen-1920x1080-8.bmp"
[ -f "$g/screen-1920x1080-4.bmp" ] || screen 1920x1080 -colors 16 -type Palette "BMP3:$g/screen-1920x1080-4.bmp"
[ -f "$g/screen-1920x1080-rle8.bmp" ] || screen 1920x1080 -colors 200 -type Palette -compress RLE "BMP3:$g/screen-1920x1080-rle8.bmp"
[ -f "$g/photo-1920x1080.gif" ] || photo 24 1920x1080 -colors 256 "$g/photo-1920x1080.gif"
[ -f "$g/screen-1920x1080.gif" ] || screen 1920x1080 -colors 64 "$g/screen-1920x1080.gif"
[ -f "$g/photo-1600x1200-interlaced.gif" ] || photo 25 1600x1200 -colors 128 -interlace GIF "$g/photo-1600x1200-interlaced.gif"
[ -f "$g/photo-1280x720-transparent.gif" ] ||
    convert -seed 26 -size 1280x720 plasma:fractal \( -size 1280x720 radial-gradient:white-black -threshold 50% \) \
        -alpha off -compose CopyOpacity -composite -colors 200 "$g/photo-1280x720-transparent.gif"
echo "$(find "$out/system" -type f | wc -l) files from this machine, $(find "$g" -type f | wc -l) generated, in $out"

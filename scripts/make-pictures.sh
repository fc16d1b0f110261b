#!/bin/sh
# Draws the program's icons and bitmaps into resources/pictures/.
#
# The results are committed, so a build never needs ImageMagick; run this
# only after changing a drawing. Icons are drawn as 32x32 pixel art in the
# 16 colours of the standard VGA palette and packed as 4-bit icons with an
# AND mask, the format every Windows 95 and NT 4 display driver shows
# correctly (ImageMagick itself would write 32-bit icons, which those
# systems cannot draw). The program icon also gets a 16x16 image for the
# caption and the task bar. The welcome bitmap is a 256-colour BMP3.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/resources/pictures"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# VGA palette, in the order the 4-bit images index it.
VGA="#000000 #800000 #008000 #808000 #000080 #800080 #008080 #C0C0C0
#808080 #FF0000 #00FF00 #FFFF00 #0000FF #FF00FF #00FFFF #FFFFFF"

# ---- drawing helpers: each prints ImageMagick draw arguments ----

# ball X Y R COLOUR DARK: a shaded atom with a dark rim and a white highlight.
ball() {
    x=$1; y=$2; r=$3
    echo "-stroke '$5' -strokewidth 1 -fill '$4' -draw \"circle $x,$y $x,$((y + r))\""
    echo "-stroke none -fill white -draw \"rectangle $((x - r / 2)),$((y - r / 2)),$((x - r / 2 + r / 3)),$((y - r / 2 + r / 3))\""
}

# bond X1 Y1 X2 Y2: a stick between two atoms.
bond() {
    echo "-stroke black -strokewidth 3 -draw \"line $1,$2 $3,$4\""
    echo "-stroke '#808080' -strokewidth 1 -draw \"line $1,$2 $3,$4\""
}

# monitor: a grey monitor with a navy screen (screen 6,5 .. 25,19).
monitor() {
    echo "-stroke black -strokewidth 1 -fill '#C0C0C0' -draw \"rectangle 2,1 29,23\""
    echo "-fill '#000080' -draw \"rectangle 5,4 26,20\""
    echo "-stroke black -fill '#808080' -draw \"rectangle 12,24 19,26\""
    echo "-fill '#C0C0C0' -draw \"rectangle 6,27 25,30\""
}

# folder X Y: a yellow folder 22 wide, 16 high.
folder() {
    x=$1; y=$2
    echo "-stroke black -strokewidth 1 -fill '#808000' -draw \"rectangle $x,$y $((x + 8)),$((y + 3))\""
    echo "-fill '#FFFF00' -draw \"rectangle $x,$((y + 3)) $((x + 21)),$((y + 16))\""
    echo "-stroke '#FFFFFF' -draw \"line $((x + 1)),$((y + 4)) $((x + 20)),$((y + 4))\""
}

# diskette X Y: a navy 3.5-inch diskette, 20x20, with a label and a shutter.
diskette() {
    x=$1; y=$2
    echo "-stroke black -strokewidth 1 -fill '#000080' -draw \"rectangle $x,$y $((x + 19)),$((y + 19))\""
    echo "-stroke none -fill '#C0C0C0' -draw \"rectangle $((x + 5)),$y $((x + 14)),$((y + 6))\""
    echo "-fill '#000080' -draw \"rectangle $((x + 11)),$((y + 1)) $((x + 12)),$((y + 5))\""
    echo "-fill white -draw \"rectangle $((x + 3)),$((y + 10)) $((x + 16)),$((y + 19))\""
    echo "-stroke '#0000FF' -draw \"line $((x + 5)),$((y + 13)) $((x + 14)),$((y + 13))\""
    echo "-draw \"line $((x + 5)),$((y + 16)) $((x + 14)),$((y + 16))\""
}

# page X Y W H: a white sheet with text lines.
page() {
    x=$1; y=$2; w=$3; h=$4
    echo "-stroke black -strokewidth 1 -fill white -draw \"rectangle $x,$y $((x + w)),$((y + h))\""
    l=$((y + 4))
    while [ $l -lt $((y + h - 2)) ]; do
        echo "-stroke '#808080' -draw \"line $((x + 3)),$l $((x + w - 3)),$l\""
        l=$((l + 3))
    done
}

# draw NAME SIZE ARGS...: renders one image to $tmp/NAME.png, pixel art, no
# antialiasing, every pixel either fully opaque or fully transparent.
draw() {
    name=$1; size=$2; shift 2
    args=$(printf '%s\n' "$*" | tr '\n' ' ')
    eval "convert -size $size xc:none +antialias $args -alpha set png32:$tmp/$name.png"
}

# ---- the pictures ----

# 4: the program: a ball-and-stick molecule.
draw icon4 32x32 \
    "$(bond 15 17 6 7; bond 15 17 26 8; bond 15 17 22 27; bond 15 17 5 25)" \
    "$(ball 6 7 4 '#0000FF' '#000080'; ball 26 8 4 '#00FF00' '#008000'; ball 5 25 4 '#FFFFFF' '#808080'; ball 22 27 4 '#FFFFFF' '#808080'; ball 15 17 7 '#FF0000' '#800000')"
draw icon4s 16x16 \
    "-stroke black -strokewidth 2 -draw \"line 8,8 3,3\" -draw \"line 8,8 13,4\" -draw \"line 8,8 12,13\" -draw \"line 8,8 3,13\"" \
    "-stroke '#000080' -strokewidth 1 -fill '#0000FF' -draw \"circle 3,3 3,5\"" \
    "-stroke '#008000' -fill '#00FF00' -draw \"circle 13,4 13,6\"" \
    "-stroke '#808080' -fill white -draw \"circle 3,13 3,15\" -draw \"circle 12,13 12,15\"" \
    "-stroke '#800000' -fill '#FF0000' -draw \"circle 8,8 8,12\"" \
    "-stroke none -fill white -draw \"rectangle 6,6 7,7\""

# 103: the product on a monitor (welcome, finished, removed).
draw icon103 32x32 "$(monitor)" \
    "$(bond 16 12 10 8; bond 16 12 22 8; bond 16 12 16 18)" \
    "$(ball 10 8 2 '#00FFFF' '#008080'; ball 22 8 2 '#00FF00' '#008000'; ball 16 18 2 '#FFFFFF' '#C0C0C0'; ball 16 12 4 '#FF0000' '#800000')"

# 101: program item group: a folder holding the program's molecule.
draw icon101 32x32 "$(folder 2 12)" \
    "$(bond 20 10 13 5; bond 20 10 27 4; bond 20 10 26 17)" \
    "$(ball 13 5 3 '#0000FF' '#000080'; ball 27 4 3 '#00FF00' '#008000'; ball 26 17 3 '#FFFFFF' '#808080'; ball 20 10 5 '#FF0000' '#800000')"

# 102: destination directory: a folder on a hard disk.
draw icon102 32x32 \
    "-stroke black -strokewidth 1 -fill '#C0C0C0' -draw \"rectangle 1,19 30,29\"" \
    "-stroke '#808080' -draw \"line 2,28 29,28\" -draw \"line 29,20 29,28\"" \
    "-stroke none -fill '#00FF00' -draw \"rectangle 24,24 26,25\"" \
    "-fill '#808080' -draw \"rectangle 4,24 15,25\"" \
    "$(folder 6 2)"

# 130: the diskette prompt.
draw icon130 32x32 "$(diskette 5 5)" \
    "-stroke black -strokewidth 1 -fill '#FFFF00' -draw \"polygon 26,17 31,23 28,23 28,30 24,30 24,23 21,23\""

# 132: install conditions not met: a monitor with a no-entry sign.
draw icon132 32x32 "$(monitor)" \
    "-stroke '#FF0000' -strokewidth 3 -fill none -draw \"circle 16,12 16,18\" -draw \"line 12,8 20,16\""

# 133: copying: a diskette, an arrow and a folder.
draw icon133 32x32 "$(diskette 1 1)" "$(folder 9 15)" \
    "-stroke black -strokewidth 1 -fill '#00FF00' -draw \"polygon 22,4 28,4 28,9 31,9 25,14 19,9 22,9\""

# 134: reading the setup information: a page under a magnifying glass.
draw icon134 32x32 "$(page 3 1 18 24)" \
    "-stroke black -strokewidth 4 -draw \"line 22,22 29,29\"" \
    "-stroke '#808000' -strokewidth 2 -draw \"line 22,22 29,29\"" \
    "-stroke black -strokewidth 1 -fill '#00FFFF' -draw \"circle 17,17 17,23\"" \
    "-stroke none -fill white -draw \"rectangle 14,14 15,15\""

# 135: restart: a monitor with a circular arrow.
draw icon135 32x32 "$(monitor)" \
    "-stroke '#00FF00' -strokewidth 2 -fill none -draw \"arc 10,6 22,18 -60,240\"" \
    "-stroke '#00FF00' -strokewidth 1 -fill '#00FF00' -draw \"polygon 19,4 25,6 20,10\""

# 136: removing files: a page dropping into a waste basket.
draw icon136 32x32 "$(page 10 0 12 12)" \
    "-stroke black -strokewidth 1 -fill '#C0C0C0' -draw \"polygon 5,14 27,14 24,31 8,31\"" \
    "-stroke '#808080' -draw \"line 11,17 12,28\" -draw \"line 16,17 16,28\" -draw \"line 21,17 20,28\"" \
    "-stroke black -fill '#808080' -draw \"rectangle 3,12 29,14\""

# 137: failure and removal warning: a yellow triangle with an exclamation mark.
draw icon137 32x32 \
    "-stroke black -strokewidth 1 -fill '#FFFF00' -draw \"polygon 16,1 31,29 1,29\"" \
    "-stroke none -fill black -draw \"rectangle 14,9 17,20\" -draw \"rectangle 14,23 17,26\""

# 142: registering: a card with a green check mark.
draw icon142 32x32 "$(page 2 3 20 26)" \
    "-stroke '#008000' -strokewidth 4 -draw \"line 11,19 17,26\" -draw \"line 17,26 29,8\"" \
    "-stroke '#00FF00' -strokewidth 2 -draw \"line 11,19 17,26\" -draw \"line 17,26 29,8\""

# Bitmap 149: the welcome page's picture, 80x120, a molecule on a dark
# gradient with the product's initials.
# atom X Y R DARK MID LIGHT: a smoothly shaded sphere lit from the upper left.
atom() {
    x=$1; y=$2; r=$3
    echo "-stroke '#202020' -strokewidth 1 -fill '$4' -draw 'circle $x,$y $x,$((y + r))'"
    echo "-stroke none -fill '$5' -draw 'circle $((x - r / 5)),$((y - r / 5)) $((x - r / 5)),$((y - r / 5 + r * 3 / 4))'"
    echo "-fill '$6' -draw 'circle $((x - r / 3)),$((y - r / 3)) $((x - r / 3)),$((y - r / 3 + r * 2 / 5))'"
    echo "-fill white -draw 'circle $((x - r * 2 / 5)),$((y - r * 2 / 5)) $((x - r * 2 / 5)),$((y - r * 2 / 5 + r / 6 + 1))'"
}
stick() {
    echo "-stroke '#303030' -strokewidth 6 -draw 'line $1,$2 $3,$4'"
    echo "-stroke '#A0A0A0' -strokewidth 3 -draw 'line $1,$2 $3,$4'"
}
picture=$(printf '%s\n' \
    "$(stick 40 58 20 30; stick 40 58 62 36; stick 40 58 22 88; stick 40 58 60 86; stick 62 36 66 13)" \
    "$(atom 20 30 9 '#000080' '#2040E0' '#80A0FF')" \
    "$(atom 62 36 8 '#006000' '#20B020' '#90F090')" \
    "$(atom 66 13 6 '#808080' '#D0D0D0' '#FFFFFF')" \
    "$(atom 22 88 7 '#808080' '#D0D0D0' '#FFFFFF')" \
    "$(atom 60 86 7 '#808080' '#D0D0D0' '#FFFFFF')" \
    "$(atom 40 58 13 '#800000' '#D02020' '#FF9090')" | tr '\n' ' ')
eval "convert -size 80x120 gradient:'#3060C0'-'#000050' $picture \
    -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 12 -gravity south -annotate +0+5 'TYV' \
    -dither None -colors 200 -type Palette -compress none BMP3:\"\$out/welcome.bmp\""

# ---- packing: 4-bit icons with an AND mask ----
for name in icon4 icon4s icon101 icon102 icon103 icon130 icon132 icon133 icon134 icon135 icon136 icon137 icon142; do
    convert "$tmp/$name.png" -depth 8 rgba:"$tmp/$name.rgba"
done

pack() {
    python3 - "$@" <<'EOF'
import struct, sys
palette = [int(c[1:], 16) for c in sys.argv[1].split()]
rgb = [((c >> 16) & 255, (c >> 8) & 255, c & 255) for c in palette]
out = sys.argv[2]
images = []
for item in sys.argv[3:]:
    path, size = item.split(':')
    size = int(size)
    raw = open(path, 'rb').read()
    assert len(raw) == size * size * 4, path
    xor_rows, and_rows = [], []
    for y in range(size - 1, -1, -1):          # DIB rows run bottom-up
        nibbles, mask = [], 0
        for x in range(size):
            r, g, b, a = raw[(y * size + x) * 4:(y * size + x) * 4 + 4]
            if a < 128:
                nibbles.append(0)
                mask |= 1 << (31 - x)          # transparent: screen shows through
            else:
                best = min(range(16), key=lambda i: (rgb[i][0] - r) ** 2 + (rgb[i][1] - g) ** 2 + (rgb[i][2] - b) ** 2)
                nibbles.append(best)
        row = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(row + b'\0' * (-len(row) % 4))
        and_rows.append(struct.pack('>I', mask))  # 32 bits covers 16 and 32 wide rows
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in rgb)
    images.append((size, header + colours + b''.join(xor_rows) + b''.join(and_rows)))
data = struct.pack('<HHH', 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, blob in images:
    data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset)
    offset += len(blob)
data += b''.join(blob for _, blob in images)
open(out, 'wb').write(data)
EOF
}

pack "$VGA" "$out/program.ico" "$tmp/icon4.rgba:32" "$tmp/icon4s.rgba:16"
pack "$VGA" "$out/group.ico" "$tmp/icon101.rgba:32"
pack "$VGA" "$out/directory.ico" "$tmp/icon102.rgba:32"
pack "$VGA" "$out/product.ico" "$tmp/icon103.rgba:32"
pack "$VGA" "$out/diskette.ico" "$tmp/icon130.rgba:32"
pack "$VGA" "$out/conditions.ico" "$tmp/icon132.rgba:32"
pack "$VGA" "$out/copy.ico" "$tmp/icon133.rgba:32"
pack "$VGA" "$out/reading.ico" "$tmp/icon134.rgba:32"
pack "$VGA" "$out/restart.ico" "$tmp/icon135.rgba:32"
pack "$VGA" "$out/removing.ico" "$tmp/icon136.rgba:32"
pack "$VGA" "$out/warning.ico" "$tmp/icon137.rgba:32"
pack "$VGA" "$out/register.ico" "$tmp/icon142.rgba:32"

# A contact sheet for looking at the drawings; not committed.
if [ -n "$TVS_PICTURE_SHEET" ]; then
    montage "$out"/*.ico "$out/welcome.bmp" -background '#C0C0C0' -geometry '64x64>+6+6' \
        -filter point "$TVS_PICTURE_SHEET"
fi
ls -l "$out"

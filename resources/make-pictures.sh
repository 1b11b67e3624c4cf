#!/bin/bash
# Draws the program's pictures from shapes and gradients with ImageMagick
# "convert" alone.  The outputs are committed; the build never runs this.
# Nothing random is used, and every time stamp and comment is kept out of the
# files, so two runs give byte-identical pictures.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT

LIB=/usr/share/fonts/truetype/liberation
SERIF_BI=$LIB/LiberationSerif-BoldItalic.ttf
SERIF_I=$LIB/LiberationSerif-Italic.ttf
SANS_B=$LIB/LiberationSans-Bold.ttf
SANS=$LIB/LiberationSans-Regular.ttf
for f in "$SERIF_BI" "$SERIF_I" "$SANS_B" "$SANS"; do
    [ -r "$f" ] || { echo "missing font $f (apt-get install fonts-liberation)" >&2; exit 1; }
done

# Time stamps and the tool's comment would make each run differ.
CLEAN=(-strip +set date:create +set date:modify +set comment)
PNGCLEAN=(-define png:exclude-chunks=date,time)

# Handset in a 200 x 84 box, cups facing down; every picture reuses it so
# the program keeps one look.
HANDSET="M 2,76 C 0,60 8,46 24,38 C 42,22 64,14 100,14 C 136,14 158,22 176,38 \
C 192,46 200,60 198,76 Q 198,84 190,84 L 144,84 Q 136,84 137,77 \
C 138,64 142,54 150,47 C 134,38 118,34 100,34 C 82,34 66,38 50,47 \
C 58,54 62,64 63,77 Q 64,84 56,84 L 10,84 Q 2,84 2,76 Z"

# Desk telephone body in a 200 x 214 box; its two horns carry the handset,
# which is drawn over them at y 14..84.
BODY="M 38,100 L 52,50 Q 56,40 64,42 L 70,44 Q 75,46 75,53 L 77,92 Q 100,88 123,92 \
L 125,53 Q 125,46 130,44 L 136,42 Q 144,40 148,50 L 162,100 \
L 189,194 Q 193,206 180,206 L 20,206 Q 7,206 11,194 Z"
PLINTH="M 8,202 L 192,202 Q 198,202 198,208 L 198,210 Q 198,214 192,214 L 8,214 Q 2,214 2,210 L 2,208 Q 2,202 8,202 Z"

# Centres of the ten finger holes, 30 degrees apart, leaving a gap at the
# lower right for the finger stop.  Prints "x y digit" lines.
hole_centres() { # cx cy ring_radius
    awk -v cx="$1" -v cy="$2" -v r="$3" 'BEGIN {
        n = split("330 300 270 240 210 180 150 120 90 60", a, " ")
        for (i = 1; i <= n; i++) {
            t = a[i] * 3.14159265358979 / 180
            printf "%.2f %.2f %d\n", cx + r * cos(t), cy + r * sin(t), i % 10
        }
    }'
}

dial_holes() { # cx cy ring_radius hole_radius
    local x y d out=""
    while read -r x y d; do
        out+="circle $x,$y $(awk -v x="$x" -v r="$4" 'BEGIN{print x + r}'),$y "
    done < <(hole_centres "$1" "$2" "$3")
    printf '%s' "$out"
}

dial_digits() { # cx cy ring_radius
    local x y d out=""
    while read -r x y d; do
        out+="text $(awk -v x="$x" -v y="$y" 'BEGIN{printf "%.2f,%.2f", x - 1.9, y + 2.5}') '$d' "
    done < <(hole_centres "$1" "$2" "$3")
    printf '%s' "$out"
}

# This ImageMagick strokes open paths with mitred joins wrongly (stray chords
# across the curve), so open curves go to it as polylines with round joins,
# sampled from cubic Bezier segments.
# Args: x0 y0 then groups of six numbers (c1x c1y c2x c2y x y), one per segment
curve() {
    echo "$@" | awk '{
        x = $1; y = $2; out = sprintf("%.2f,%.2f", x, y)
        for (i = 3; i + 5 <= NF; i += 6) {
            for (j = 1; j <= 16; j++) {
                t = j / 16; u = 1 - t
                px = u*u*u*x + 3*u*u*t*$i + 3*u*t*t*$(i+2) + t*t*t*$(i+4)
                py = u*u*u*y + 3*u*u*t*$(i+1) + 3*u*t*t*$(i+3) + t*t*t*$(i+5)
                out = out sprintf(" %.2f,%.2f", px, py)
            }
            x = $(i+4); y = $(i+5)
        }
        print "stroke-linejoin round polyline " out
    }'
}

# Vertical gradient image: c1 above y0, c2 below y1, blended between.
vgrad() { # out w h y0 y1 c1 c2
    local out=$1 w=$2 h=$3 y0=$4 y1=$5
    convert -size "${w}x${h}" xc:"$7" \
        \( -size "${w}x${y1}" xc:"$6" \) -geometry +0+0 -composite \
        \( -size "${w}x$((y1 - y0))" gradient:"$6-$7" \) -geometry "+0+${y0}" -composite \
        "$out"
}

# Fill patterns ignore the drawing's scale but do follow its translation, so
# the telephone is drawn scaled only, on its own canvas, with patterns made to
# that canvas's pixels.
make_phone_patterns() { # scale
    local s=$1 w h
    w=$(px 202 "$s"); h=$(px 216 "$s")
    vgrad "$T/g_hand.png" "$w" "$h" "$(px 14 "$s")" "$(px 84 "$s")" '#c0604a' '#521a12'
    vgrad "$T/g_body.png" "$w" "$h" "$(px 44 "$s")" "$(px 214 "$s")" '#b44e3a' '#401209'
    vgrad "$T/g_brass.png" "$w" "$h" "$(px 108 "$s")" "$(px 196 "$s")" '#f6d67e' '#7a5416'
    # Darkens the flanks so the flat shapes read as rounded.
    local half=$(px 100 "$s")
    convert \( -size "${h}x${half}" gradient:'rgba(0,0,0,0.6)'-'rgba(0,0,0,0)' -rotate -90 \) \
        \( +clone -flop \) +append +repage -background none -extent "${w}x${h}" +repage \
        "$T/g_side.png"
}

px() { # units scale -> whole pixels
    awk -v u="$1" -v s="$2" 'BEGIN{printf "%d", u * s + 0.5}'
}

# Telephone on a transparent canvas of 202 x 216 units at the given scale.
# Args: out scale [digits yes|no] [handset lift in units, for the ringing]
draw_phone() {
    local out=$1 s=$2 digits=${3:-yes} lift=${4:-0}
    local tf="scale $s,$s"
    local ht="$tf translate 0,-$lift"
    make_phone_patterns "$s"
    local a=(-size "$(px 202 "$s")x$(px 216 "$s")" xc:none -stroke none
        +tile -fill '#1c0705' -draw "$tf path '$PLINTH'"
        -tile "$T/g_body.png" -draw "$tf path '$BODY'"
        -tile "$T/g_side.png" -draw "$tf path '$BODY'"
        +tile -fill none -stroke '#e09a70' -strokewidth "$(awk -v s="$s" 'BEGIN{print s}')"
        -draw "$tf $(curve 80 93 93 90.7 107 90.7 120 93)"
        -stroke none
        -tile "$T/g_brass.png" -draw "$tf circle 100,152 100,107"
        +tile -fill '#2a0c08' -draw "$tf circle 100,152 100,110"
        +tile -fill '#efe0bd' -draw "$tf $(dial_holes 100 152 29 7)")
    [ "$digits" = yes ] && a+=(-fill '#3a1a10' -font "$SANS_B" -pointsize 7
        -draw "$tf $(dial_digits 100 152 29)")
    a+=(-tile "$T/g_brass.png" -draw "$tf circle 100,152 100,135"
        +tile -fill '#efe0bd' -draw "$tf circle 100,152 100,137.5"
        +tile -fill none -stroke '#b01e1e' -strokewidth 0.9
        -draw "$tf line 91,148 109,148 line 91,152 109,152 line 91,156 109,156"
        -stroke none -tile "$T/g_brass.png"
        -draw "$tf push graphic-context translate 100,152 rotate 18 roundrectangle 38,-2.2 50,2.2 2.2,2.2 pop graphic-context"
        +tile -fill 'rgba(12,3,2,0.75)'
        -draw "$tf push graphic-context translate 1,3 path '$HANDSET' pop graphic-context"
        -tile "$T/g_hand.png" -draw "$ht path '$HANDSET'"
        -tile "$T/g_side.png" -draw "$ht path '$HANDSET'"
        +tile -fill none -stroke '#f4b892' -strokewidth "$(awk -v s="$s" 'BEGIN{print s}')"
        -draw "$ht $(curve 32 37 48 24 68 18 100 18 132 18 152 24 168 37)")
    convert "${a[@]}" "$out"
}

# ---------------------------------------------------------------- background
# Coiled cord: a sagging curve with a rolling loop laid along it.
# Args: ax ay cx cy bx by loops amplitude -> "x,y x,y ..." for a polyline
coil_points() {
    awk -v ax="$1" -v ay="$2" -v cx="$3" -v cy="$4" -v bx="$5" -v by="$6" \
        -v n="$7" -v amp="$8" 'BEGIN {
        steps = n * 24; pi = 3.14159265358979
        for (i = 0; i <= steps; i++) {
            t = i / steps; u = 1 - t
            x = u*u*ax + 2*u*t*cx + t*t*bx; y = u*u*ay + 2*u*t*cy + t*t*by
            dx = 2*u*(cx-ax) + 2*t*(bx-cx); dy = 2*u*(cy-ay) + 2*t*(by-cy)
            l = sqrt(dx*dx + dy*dy); dx /= l; dy /= l
            ph = 2 * pi * n * t
            x += -dy * amp * sin(ph) + dx * amp * 0.8 * cos(ph)
            y +=  dx * amp * sin(ph) + dy * amp * 0.8 * cos(ph)
            printf "%.1f,%.1f ", x, y
        }
    }'
}

# Telephone-message pad, drawn flat then laid on the desk at a slant.
make_pad() {
    local out=$1
    vgrad "$T/g_paper.png" 236 168 0 168 '#e2d2ae' '#9c8a66'
    convert -size 236x168 xc:none \
        -tile "$T/g_paper.png" -draw "roundrectangle 0,0 235,167 4,4" \
        +tile -fill '#7c2619' -draw "roundrectangle 0,0 235,15 4,4 rectangle 0,8 235,15" \
        -fill '#f0d9a8' -font "$SANS_B" -pointsize 8 -annotate +10+11 'TOVRIN' \
        -fill '#9c2a1c' -font "$SANS_B" -pointsize 11 -annotate +12+34 'TELEPHONE MESSAGE' \
        -fill none -stroke '#b7a37e' -strokewidth 1 \
        -draw "line 46,58 222,58 line 46,80 222,80 line 46,102 222,102 line 12,128 222,128 line 12,150 222,150" \
        -stroke '#8c7a5a' -draw "rectangle 12,110 20,118" \
        -stroke none -fill '#6e5a3e' -font "$SANS" -pointsize 9 \
        -annotate +12+56 'For' -annotate +12+78 'From' -annotate +12+100 'Phone' \
        -annotate +26+118 'Please call back' \
        -fill '#2c3f78' -font "$SERIF_I" -pointsize 15 \
        -annotate +52+55 'Dana' -annotate +52+77 'Mr. Arel' -annotate +52+99 '555 0142' \
        -annotate +18+147 'about Thursday, after 4' \
        -fill none -stroke '#2c3f78' -strokewidth 1.6 -draw "polyline 12,113 16,118 23,106" \
        "$out"
}

make_pencil() {
    local out=$1
    vgrad "$T/g_pencil.png" 190 14 0 14 '#f4c04c' '#a86a10'
    vgrad "$T/g_ferrule.png" 190 14 0 14 '#e8e0c8' '#7c7460'
    convert -size 190x14 xc:none \
        +tile -fill '#d88a8a' -draw "roundrectangle 0,1 14,12 3,3" \
        -tile "$T/g_ferrule.png" -draw "rectangle 10,1 24,12" \
        +tile -fill none -stroke 'rgba(60,50,30,0.5)' -draw "line 14,1 14,12 line 19,1 19,12" -stroke none \
        -tile "$T/g_pencil.png" -draw "rectangle 24,1 160,12" \
        +tile -fill 'rgba(255,240,200,0.35)' -draw "rectangle 24,3 160,5" \
        -fill '#e6c79a' -draw "polygon 160,1 188,6.5 160,12" \
        -fill '#3a3a3a' -draw "polygon 180,5 189,6.5 180,8" \
        "$out"
}

make_background() {
    local W=438 H=600
    # Warm pool of light behind the telephone, dying out to pure black well
    # before the rim so the picture melts into the black frame window.
    convert -size "${W}x${H}" xc:black \
        \( -size 600x600 radial-gradient:'#4e3018'-black \) -geometry -81-80 -composite \
        \( -size "${W}x${H}" xc:none -fill 'rgba(64,38,18,0.55)' -draw "ellipse 219,450 190,80 0,360" \
           -blur 0x36 \) -composite \
        "$T/bg0.png"
    # Shadow of the telephone and of the pad on the desk.
    convert "$T/bg0.png" \
        \( -size "${W}x${H}" xc:none -fill 'rgba(0,0,0,0.8)' -draw "ellipse 219,320 150,14 0,360" -blur 0x8 \) \
        -composite "$T/bg1.png"
    # Cord hangs from the mouthpiece round the left flank into the base.
    convert "$T/bg1.png" -fill none -stroke '#1e0604' -strokewidth 6 \
        -draw "stroke-linejoin round polyline $(coil_points 106 146 22 250 104 282 11 6)" \
        -stroke '#8e3a28' -strokewidth 3 \
        -draw "stroke-linejoin round polyline $(coil_points 105.4 145 21.4 249 103.4 281 11 6)" \
        "$T/bg2.png"
    draw_phone "$T/phone.png" 1.35
    make_pad "$T/pad.png"
    make_pencil "$T/pencil.png"
    convert "$T/pad.png" -background none -rotate -6 +repage "$T/padr.png"
    convert "$T/pencil.png" -background none -rotate 152 +repage "$T/pencilr.png"
    convert "$T/bg2.png" "$T/phone.png" -geometry +83+30 -composite \
        \( "$T/padr.png" -fill black -colorize 100 -channel A -evaluate multiply 0.7 +channel \
           -background none -splice 10x10 -blur 0x6 \) -geometry +66+358 -composite \
        "$T/padr.png" -geometry +66+352 -composite \
        \( "$T/pencilr.png" -fill black -colorize 100 -channel A -evaluate multiply 0.6 +channel \
           -background none -splice 6x8 -blur 0x3 \) -geometry +236+410 -composite \
        "$T/pencilr.png" -geometry +236+404 -composite \
        "$T/bg3.png"
    # Name in warm gold, with a faint glow so it does not sit flat on black.
    convert "$T/bg3.png" \
        \( -size "${W}x90" xc:none -font "$SERIF_BI" -pointsize 50 -gravity center \
           -fill '#c98a2e' -annotate +0+0 'Tovrin' +gravity -blur 0x7 \) -geometry +0+525 -composite \
        \( -size "${W}x90" xc:none -font "$SERIF_BI" -pointsize 50 -gravity center \
           -fill '#e8b95a' -annotate +0+0 'Tovrin' +gravity \) -geometry +0+523 -composite \
        "$T/bg4.png"
    # Lifted a little so the margins above the telephone and below the name
    # match, then every edge is faded to true black: the frame window around
    # the picture is black, and no seam may show where the picture ends.
    convert "$T/bg4.png" -crop "${W}x$((H - 16))+0+16" +repage \
        -background black -gravity north -extent "${W}x${H}" +gravity \
        \( -size "${W}x${H}" xc:black -fill white -draw "roundrectangle 8,8 $((W - 9)),$((H - 9)) 30,30" \
           -blur 0x10 -level 20%,100% \) -compose multiply -composite \
        -quality 88 -sampling-factor 2x2 -interlace none \
        "${CLEAN[@]}" "$HERE/background.jpg"
}

# Concentric arcs for the "ringing" look.  Each is a filled band with round
# ends: thick round-capped polylines make this ImageMagick fail.
ring_arcs() { # cx cy from_deg to_deg width radius...
    local cx=$1 cy=$2 a0=$3 a1=$4 w=$5
    shift 5
    local r
    for r in "$@"; do
        awk -v cx="$cx" -v cy="$cy" -v a0="$a0" -v a1="$a1" -v r="$r" -v w="$w" 'BEGIN {
            k = 3.14159265358979 / 180; h = w / 2; printf "polygon"
            for (j = 0; j <= 32; j++) {
                a = (a0 + (a1 - a0) * j / 32) * k
                printf " %.1f,%.1f", cx + (r + h) * cos(a), cy + (r + h) * sin(a)
            }
            ex = cx + r * cos(a1 * k); ey = cy + r * sin(a1 * k)
            for (j = 1; j < 12; j++) {
                b = a1 * k + 3.14159265358979 * j / 12
                printf " %.1f,%.1f", ex + h * cos(b), ey + h * sin(b)
            }
            for (j = 32; j >= 0; j--) {
                a = (a0 + (a1 - a0) * j / 32) * k
                printf " %.1f,%.1f", cx + (r - h) * cos(a), cy + (r - h) * sin(a)
            }
            sx = cx + r * cos(a0 * k); sy = cy + r * sin(a0 * k)
            for (j = 1; j < 12; j++) {
                b = a0 * k + 3.14159265358979 + 3.14159265358979 * j / 12
                printf " %.1f,%.1f", sx + h * cos(b), sy + h * sin(b)
            }
            printf " "
        }'
    done
}

# ------------------------------------------------------------ advertisement
# Shown squeezed into a box of 73 x 89, so only big shapes and strong
# contrast survive: one handset, ring arcs and a single short word.
make_image1() {
    local W=429 H=579
    local hs="translate 190,262 rotate -28 scale 1.45,1.45 translate -100,-49"
    local rings="$(ring_arcs 292 224 -82 -8 20 52 82 112)"
    convert -size "${W}x${H}" gradient:'#d0402a'-'#6a0e0a' \
        \( -size 520x520 radial-gradient:'rgba(255,190,120,0.45)'-'rgba(255,190,120,0)' \) \
        -geometry -40-60 -composite \
        -fill none -stroke '#f6e3c0' -strokewidth 7 -draw "roundrectangle 18,18 410,560 26,26" \
        \( -size "${W}x${H}" xc:none -fill 'rgba(40,0,0,0.6)' -stroke 'rgba(40,0,0,0.6)' \
           -strokewidth 6 -draw "translate 8,12 $hs path '$HANDSET'" \
           -draw "translate 8,12 $rings" \
           -blur 0x9 \) -composite \
        -fill '#fff6e6' -stroke '#fff6e6' -strokewidth 6 -draw "$hs path '$HANDSET'" \
        -stroke none -fill '#ffd28a' -draw "$rings" \
        -stroke none -fill 'rgba(40,0,0,0.55)' -font "$SANS_B" -pointsize 132 -gravity north \
        -annotate +5+384 'CALL' \
        -fill '#fff6e6' -annotate +0+378 'CALL' \
        -fill '#ffd28a' -font "$SERIF_BI" -pointsize 46 -annotate +0+500 'Tovrin' +gravity \
        -quality 86 -sampling-factor 2x2 "${CLEAN[@]}" "$HERE/image1.jpg"
}

# ------------------------------------------------------------------- icons
# At 16 and 32 pixels smooth drawing and reduction give mush, so the icon is
# laid out cell by cell: a quarter-ring handle with an earpiece at one end
# and a mouthpiece at the other, on a 16-unit grid scaled to the icon size.
# Cells are shaded like a low bevel (light up/left, dark down/right) and get
# a dark one-pixel rim so the icon holds on light and dark window colours.
# Args: size ring_inner ring_outer cup_long cup_short cup_corner (grid units)
icon_cells() {
    awk -v n="$1" -v ri="$2" -v ro="$3" -v ew="$4" -v eh="$5" -v rc="$6" '
    function inbox(px, py, x0, y0, x1, y1, rc,    qx, qy) {
        if (px < x0 || px > x1 || py < y0 || py > y1) return 0
        qx = (px < x0 + rc) ? x0 + rc : (px > x1 - rc) ? x1 - rc : px
        qy = (py < y0 + rc) ? y0 + rc : (py > y1 - rc) ? y1 - rc : py
        return (px - qx)^2 + (py - qy)^2 <= rc * rc
    }
    BEGIN {
        s = n / 16; cx = 12.5 * s; cy = 3.5 * s
        for (y = 0; y < n; y++) for (x = 0; x < n; x++) {
            px = x + .5; py = y + .5; d = sqrt((px - cx)^2 + (py - cy)^2)
            g[x,y] = (px <= cx + .01 && py >= cy - .01 && d >= ri*s && d <= ro*s) ||
                     inbox(px, py, s, s, ew*s, eh*s, rc*s) ||
                     inbox(px, py, (16-eh)*s, (16-ew)*s, 15*s, 15*s, rc*s)
        }
        for (y = 0; y < n; y++) {
            line = ""
            for (x = 0; x < n; x++) {
                c = "."
                if (g[x,y]) {
                    c = "R"
                    if (!(y > 0 && g[x,y-1]) || !(x > 0 && g[x-1,y])) c = "H"
                    if (!(y < n-1 && g[x,y+1]) || !(x < n-1 && g[x+1,y])) c = (c == "H") ? "R" : "D"
                } else if (g[x-1,y] || g[x+1,y] || g[x,y-1] || g[x,y+1]) c = "K"
                line = line c
            }
            print line
        }
    }'
}

# Cell grid on stdin to a palette PNG.  Args: out size ch=colour...
# The points of a colour go in draws of at most 1000: one draw of all of them
# overflows a command line at the large sizes.
pixmap() {
    local out=$1 n=$2 grid p ch col draws d
    shift 2
    local a=(-size "${n}x${n}" xc:none +antialias)
    grid=$(cat)
    for p in "$@"; do
        ch=${p%%=*} col=${p#*=}
        mapfile -t draws < <(printf '%s\n' "$grid" | awk -v ch="$ch" '
            { for (x = 1; x <= length($0); x++)
                  if (substr($0, x, 1) == ch) {
                      printf " point %d,%d", x - 1, NR - 1
                      if (++k % 1000 == 0) printf "\n"
                  } }
            END { if (k % 1000) printf "\n" }')
        [ ${#draws[@]} -gt 0 ] && a+=(-fill "$col")
        for d in "${draws[@]}"; do
            a+=(-draw "$d")
        done
    done
    convert "${a[@]}" -dither None -colors 16 "${CLEAN[@]}" "${PNGCLEAN[@]}" "PNG8:$out"
}

ICON_COLOURS=('K=#3a0806' 'R=#d8432b' 'H=#f79a78' 'D=#9a1e12')

make_icons() {
    icon_cells 32 8 11.5 7 4.6 1.2 | pixmap "$HERE/icon32.png" 32 "${ICON_COLOURS[@]}"
    icon_cells 16 8 11.5 7 4.5 1 | pixmap "$HERE/icon16.png" 16 "${ICON_COLOURS[@]}"
    # The sizes the desktop's icon theme asks for besides those two: the same
    # layout on the same grid, which only gets smoother as the cells shrink.
    local n
    for n in 48 64 128 256; do
        icon_cells "$n" 8 11.5 7 4.6 1.2 | pixmap "$HERE/icon$n.png" "$n" "${ICON_COLOURS[@]}"
    done
}

# -------------------------------------------------------- ringing animation
# Two short bursts of ringing and a rest, like a real bell: the telephone
# rocks on its base, the handset jumps and ring arcs pulse on both sides.
make_kesh() {
    local W=169 H=129 f args=() rot lift pulse colour delay
    local ft=$T/kesh
    mkdir -p "$ft"
    # pattern per frame: rotation lift arcs(0/1/2) text-colour delay
    local plan=(
        "-5 6 1 #fff2c8 7" "5 3 2 #f2b53c 7" "-5 6 1 #fff2c8 7"
        "5 3 2 #f2b53c 7" "-5 6 1 #fff2c8 7" "5 3 2 #f2b53c 7"
        "0 0 0 #f2b53c 22"
        "-5 6 1 #fff2c8 7" "5 3 2 #f2b53c 7" "-5 6 1 #fff2c8 7"
        "5 3 2 #f2b53c 7" "-5 6 1 #fff2c8 7" "5 3 2 #f2b53c 7"
        "0 0 0 #f2b53c 110")
    for f in "${!plan[@]}"; do
        read -r rot lift pulse colour delay <<< "${plan[$f]}"
        # Drawn at twice the size and halved, for smoother edges this small.
        draw_phone "$ft/p.png" 0.84 no "$lift"
        convert "$ft/p.png" -background none -gravity northwest -splice 25x20 -extent 220x210 \
            -virtual-pixel transparent -distort SRT "110,200 1 $rot" \
            -filter Triangle -resize 50% "$ft/pr.png"
        local rings=""
        case $pulse in
            1) rings="$(ring_arcs 58 42 200 250 3 24 31) $(ring_arcs 111 42 -70 -20 3 24 31)" ;;
            2) rings="$(ring_arcs 58 42 200 250 3 28 35) $(ring_arcs 111 42 -70 -20 3 28 35)" ;;
        esac
        convert -size "${W}x${H}" xc:black "$ft/pr.png" -geometry +30-5 -composite \
            ${rings:+-fill '#f2b53c' -draw "$rings"} \
            -fill "$colour" -font "$SANS_B" -pointsize 19 -gravity south -annotate +0+6 'Call us!' \
            +gravity "$ft/f$(printf %02d "$f").png"
        args+=(-delay "$delay" "$ft/f$(printf %02d "$f").png")
    done
    convert -loop 0 -dispose None "${args[@]}" -layers Optimize "${CLEAN[@]}" "$HERE/Kesh1.gif"
}

# ------------------------------------------------------------------ banner
# The line glides in from the right and settles, a glint runs along it while
# the little handset rings, it rests, then fades before the next round.
make_banner() {
    local W=537 H=89 ft=$T/banner
    mkdir -p "$ft"
    local w1 w2 tag='- your telephone directory'
    w1=$(convert -font "$SERIF_BI" -pointsize 46 label:Tovrin -format %w info:)
    w2=$(convert -font "$SANS_B" -pointsize 24 label:"$tag" -format %w info:)
    local gap=12 glyph=52
    local tw=$((w1 + gap + w2 + 8))
    # Whole line (glyph + text) centred in the banner.
    local left=$(( (W - glyph - 26 - tw) / 2 ))
    local tx=$((left + glyph + 26))
    convert -size "${tw}x${H}" xc:none -font "$SERIF_BI" -pointsize 46 -fill white \
        -annotate +2+60 Tovrin \( -size "${tw}x${H}" gradient:'#fff3b8'-'#e88a1c' \) \
        -compose atop -composite "$ft/name.png"
    convert -size "${tw}x${H}" xc:none -font "$SANS_B" -pointsize 24 -fill '#ffc25a' \
        -annotate "+$((w1 + gap + 2))+58" "$tag" "$ft/tag.png"
    convert "$ft/name.png" "$ft/tag.png" -composite "$ft/text.png"
    convert "$ft/text.png" -alpha extract -blur 0x5 -background '#c0501a' -alpha shape \
        -channel A -evaluate multiply 0.55 +channel "$ft/glow.png"
    convert "$ft/glow.png" "$ft/text.png" -composite "$ft/line.png"

    local gx=$((left + 26)) gy=46
    local hs="translate $gx,$gy rotate -24 scale 0.25,0.25 translate -100,-49"
    glyph_frame() { # out arcs(0|1|2)
        local rings=""
        case $2 in
            1) rings="$(ring_arcs "$((gx + 10))" "$((gy + 2))" -95 -25 2.5 19 25)" ;;
            2) rings="$(ring_arcs "$((gx + 10))" "$((gy + 2))" -95 -25 2.5 22 28)" ;;
        esac
        convert -size "${W}x${H}" xc:black -fill '#ffb547' -stroke '#ffb547' -strokewidth 2 \
            -draw "$hs path '$HANDSET'" -stroke none \
            ${rings:+-fill '#ffd98a' -draw "$rings"} "$1"
    }
    glyph_frame "$ft/still.png" 0
    glyph_frame "$ft/ring1.png" 1
    glyph_frame "$ft/ring2.png" 2

    local args=() n=0 k x band
    frame() { # base line-image x delay
        local out; out=$ft/f$(printf %02d "$n").png
        convert "$1" "$2" -geometry "+$3+0" -composite "$out"
        args+=(-delay "$4" "$out")
        n=$((n + 1))
    }
    # Eased (cubic) so the line lands softly instead of stopping dead.
    for k in 0 1 2 3 4 5 6 7; do
        x=$(awk -v k="$k" -v a="$tx" -v b="$W" 'BEGIN{t = k / 7; printf "%d", a + (b - a) * (1 - t)^3}')
        frame "$ft/still.png" "$ft/line.png" "$x" 6
    done
    # Glint: a slanted light band clipped to the letters.
    for k in 0 1 2 3 4 5 6 7; do
        band=$(( -40 + k * (tw + 80) / 7 ))
        convert "$ft/line.png" \( -size "${tw}x${H}" xc:none -fill 'rgba(255,255,255,0.9)' \
            -draw "polygon $((band + 14)),0 $((band + 34)),0 $((band + 4)),$H $((band - 16)),$H" \
            -blur 0x2 \) -compose atop -composite "$ft/glint.png"
        frame "$ft/ring$((k % 2 + 1)).png" "$ft/glint.png" "$tx" 6
    done
    frame "$ft/still.png" "$ft/line.png" "$tx" 240
    # Faded rather than cut, so the restart of the loop does not jolt.
    for k in 66 33 0; do
        convert "$ft/line.png" -channel A -evaluate multiply "0.$k" +channel "$ft/fade.png"
        frame "$ft/still.png" "$ft/fade.png" "$tx" 7
    done
    convert -loop 0 "${args[@]}" -layers Optimize "${CLEAN[@]}" "$HERE/engbaner.gif"
}

# Every picture, or only those named: make-pictures.sh icons kesh
parts=("$@")
[ ${#parts[@]} -eq 0 ] && parts=(background image1 icons kesh banner)
for part in "${parts[@]}"; do
    "make_$part"
done

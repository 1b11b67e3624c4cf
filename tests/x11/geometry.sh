# Where the directory window's controls are on a real X screen, for the scenarios here and the package check.
# Needs WID (the frame's window) and FRAME_W, FRAME_H (its size, from `xdotool getwindowgeometry --shell`).

# The size of the frame's client area above its status line: black from the top down to it.
AREA_W=
AREA_H=
x11_area() {
    local first
    first=$(import -window "$WID" -crop "1x${FRAME_H}+2+0" -depth 8 txt:- |
        awk -F'[,:]' 'NR > 1 && !/#000000/ {print $2; exit}')
    AREA_W=$FRAME_W
    AREA_H=${first:-$FRAME_H}
}

# Where a point of the directory window, given in twips as designed (15 twips make a pixel), is on the screen, in
# PX and PY relative to the client area. The window lays itself out as frmMain::relayout does: with more room
# than designed, what lies from the grid's bottom edge down moves down by the extra height, but for a tenth of it
# that the result list takes (from its bottom edge down); the book chooser above the grid and the advertisement
# block beneath it move right by the extra width.
dir_point() {
    [ -n "$AREA_H" ] || x11_area
    local x=$1 y=$2 split=8000 below=0
    local dw=$((AREA_W > 792 ? AREA_W - 792 : 0)) dh=$((AREA_H > 545 ? AREA_H - 545 : 0))
    [ "$y" -ge 3200 ] && { below=1; split=5400; }
    PX=$((x / 15 + (x >= split ? dw : 0)))
    PY=$((y / 15 + (below ? dh - dh / 10 : 0) + (y >= 6200 ? dh / 10 : 0)))
}

# A point inside a book's grid: its rows stay where designed, and its columns (722 pixels as designed, after the
# record selector at pixel 39) widen in proportion to the grid.
grid_point() {
    [ -n "$AREA_H" ] || x11_area
    local dw=$((AREA_W > 792 ? AREA_W - 792 : 0))
    PX=$((39 + ($1 / 15 - 39) * (722 + dw) / 722))
    PY=$(($2 / 15))
}

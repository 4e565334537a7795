# Both bars drawn into a window at several fills and checked by the program itself; then,
# while it holds its window with the bars at half, a screenshot of the X screen is checked
# pixel by pixel: black frames, the fill colours as tabled, white beyond the fill, and the
# red percentage text right of the overall fill.
bmp=$(windows_path "$SHOTS/$SCENARIO-memory-bitmap.bmp")
run_windows "$VORQ_WIN_DIR/programs/progress_bars_check.exe" --bmp "$bmp" --hold-ms 30000 &
program=$!
wait_for_line "$program" "$SCENARIO_DIR/progress_bars_check.out" '^[a-zA-Z]*: window: file bar' ||
  fail "the bars never reached the window"
shot bars
# The screenshot is checked whatever the program found, so that both verdicts show.
program_status=0
wait "$program" || program_status=$?

screen=$SHOTS/$SCENARIO-bars.png
# The bounding box (WxH+X+Y) of the pixels of one colour.
colour_box() {
  convert "$screen" -fill black +opaque "$1" -format '%@' info:
}
pixel() {
  convert "$screen" -format "%[pixel:p{$1,$2}]" info: | sed 's/^srgb(\(.*\))$/\1/'
}
# Places below are in the window's client coordinates: overall frame 20..179 x 40..69,
# per-file frame 20..179 x 20..24, fill 80 of 160 pixels.
box=$(colour_box 'rgb(0,70,140)')
[[ $box =~ ^79x28\+([0-9]+)\+([0-9]+)$ ]] || fail "overall fill box $box, not 79x28"
x0=$((BASH_REMATCH[1] - 21))
y0=$((BASH_REMATCH[2] - 41))
pass "overall fill rgb(0,70,140) over 79 x 28 pixels, client origin at $x0,$y0"
expect_pixel() {
  local value
  value=$(pixel $((x0 + $1)) $((y0 + $2)))
  case "$value" in
  "$3" | "$4") pass "pixel $1,$2 is $value ($5)" ;;
  *) fail "pixel $1,$2 is $value, not $3 ($5)" ;;
  esac
}
expect_pixel 20 50 '0,0,0' black 'overall frame, left'
expect_pixel 179 50 '0,0,0' black 'overall frame, right'
expect_pixel 60 40 '0,0,0' black 'overall frame, top'
expect_pixel 60 69 '0,0,0' black 'overall frame, bottom'
expect_pixel 100 42 '255,255,255' white 'white beyond the overall fill'
expect_pixel 178 67 '255,255,255' white 'white up to the last inner pixel'
expect_pixel 20 22 '0,0,0' black 'per-file frame'
expect_pixel 21 22 '0,200,100' '0,200,100' 'per-file fill'
expect_pixel 99 23 '0,200,100' '0,200,100' 'per-file fill, last pixel'
expect_pixel 100 22 '255,255,255' white 'white beyond the per-file fill'
box=$(colour_box 'rgb(0,200,100)')
[ "$box" = "79x3+$((x0 + 21))+$((y0 + 21))" ] || fail "per-file fill box $box"
# The text: red pixels right of the fill, from 4 pixels into the white part and from a
# fifth of the inner height below the inner top (row 46), inside the frame.
red=$(convert "$screen" -crop "158x28+$((x0 + 21))+$((y0 + 41))" +repage -fill black \
  +opaque 'rgb(255,0,0)' -format '%@' info:)
[[ $red =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no red text in the bar ($red)"
left=$((BASH_REMATCH[3] + 21))
top=$((BASH_REMATCH[4] + 41))
[ "$left" -ge 104 ] && [ "$top" -ge 46 ] ||
  fail "the red text starts at $left,$top, not at or after 104,46"
[ $((left + BASH_REMATCH[1])) -le 179 ] || fail "the red text leaves the frame"
pass "red percentage text at $left,$top, right of the fill"
[ "$program_status" -eq 0 ] || fail "progress_bars_check"

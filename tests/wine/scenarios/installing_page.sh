# The installing page while a stream is decoded, both bars part-filled, checked by the
# program on the wizard's own dialog; then, while it holds the page, a screenshot of the
# X screen must show both fill colours.
run_windows "$VORQ_WIN_DIR/programs/installing_page_check.exe" --hold-ms 30000 &
program=$!
wait_for_line "$program" "$SCENARIO_DIR/installing_page_check.out" '^holding the page' ||
  fail "the page was never held for the screenshot"
sleep 1
shot installing
program_status=0
wait "$program" || program_status=$?
[ "$program_status" -eq 0 ] || fail "installing_page_check"

screen=$SHOTS/$SCENARIO-installing.png
# How many pixels of one colour the screen shows.
colour_count() {
  convert "$screen" -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:
}
overall=$(colour_count 'rgb(0,70,140)')
file=$(colour_count 'rgb(0,200,100)')
[ "$overall" -gt 100 ] || fail "the overall fill shows $overall pixels on the screen"
[ "$file" -gt 50 ] || fail "the per-file fill shows $file pixels on the screen"
pass "on the screen: $overall pixels of overall fill, $file of per-file fill"

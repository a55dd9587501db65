#!/bin/bash
# The print dialog, the dialog while it prints and the printer's properties on
# a real cups-pdf queue, drawn by a real X server (Xvfb) and saved as PNG files
# to look at. The queue belongs to a scheduler the tests start for themselves;
# nothing of the machine's CUPS is touched. Needs root, Xvfb, cups and
# printer-driver-cups-pdf.
#   tests/manual/print_screenshots.sh [BUILD_DIR] [OUT_DIR]
set -eu
B="$(realpath "${1:-build}")"
OUT="$(realpath -m "${2:-$B/print-screenshots}")"
mkdir -p "$OUT"
exec 3>&1
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$OUT/.display" & XV=$!
trap 'kill $XV' EXIT
for _ in $(seq 50); do [ -s "$OUT/.display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$OUT/.display")" QT_QPA_PLATFORM=xcb ZP_SCREENSHOT_DIR="$OUT"
rm -f "$OUT/.display"
"$B/tests/zp_test_printing" \
  --gtest_filter='PrintDialogLook.*:CupsQueue.ThePrintersOwnOptionsReachTheJob'
ls -l "$OUT"/*.png

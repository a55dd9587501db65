#!/bin/bash
# A user's path through the sample package on a virtual display, with a
# screenshot at each step: run it, look at the printouts without installing,
# install, run it again with the viewer current. Everything it installs goes
# into a scratch tree. Needs root (installing), Xvfb, xdotool, ImageMagick's
# import; twm, when present, draws the window titles.
#   tests/manual/package_walkthrough.sh [BUILD_DIR] [OUT_DIR]
set -u
B="$(realpath "${1:-build}")"
OUT="$(realpath -m "${2:-$B/walkthrough}")"
S="$(mktemp -d)"
mkdir -p "$OUT" $S/tmp $S/etc/xdg $S/usr/share $S/home/Pulpit $S/home/.config $S/opt
export QT_QPA_PLATFORM=xcb TMPDIR=$S/tmp XDG_CONFIG_DIRS=$S/etc/xdg XDG_DATA_DIRS=$S/usr/share \
  XDG_DATA_HOME=$S/home/.local/share XDG_CONFIG_HOME=$S/home/.config XDG_DESKTOP_DIR=$S/home/Pulpit HOME=$S/home
# The server picks a free display and names it.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>$S/display & XV=$!
sleep 1; export DISPLAY=":$(cat $S/display)"; if command -v twm >/dev/null; then twm >/dev/null 2>&1 & fi; sleep 1
shot() { sleep 1.5; import -window root "$OUT/$1.png"; echo "shot $1"; }
focus() { w=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1); xdotool windowactivate --sync "$w" 2>/dev/null || xdotool windowfocus --sync "$w"; }
cp $B/library/przyklady.run $S/home/
# 1. Run the package; look without installing.
$S/home/przyklady.run & P=$!
focus "Paczka z wydrukami"; shot 1-launcher
xdotool key Return
sleep 3; shot 2-viewer-list
ls -la $S/tmp/ZorPokaz.tmp > $OUT/scratch-while-viewing.txt
xdotool key Return; sleep 3; shot 3-viewer-preview
xdotool key Escape; sleep 1; xdotool key Escape; sleep 2
wait $P; echo "launcher exit $?"; ls -la $S/tmp > $OUT/tmp-after-viewing.txt
# 2. Run it again and install.
$S/home/przyklady.run & P=$!
focus "Paczka z wydrukami"
xdotool key alt+z alt+k ctrl+a; xdotool type --delay 10 "$S/opt/ZorPokaz"; shot 4-install-choice
xdotool key Return
focus "Informacja"; shot 5-installed
xdotool key Return; wait $P; echo "launcher exit $?"
ls -la $S/opt/ZorPokaz $S/home/Pulpit > $OUT/installed.txt; cat $S/etc/xdg/ZorPokaz/ZorPokaz.conf >> $OUT/installed.txt
# 3. Once more: the viewer is current, only the printouts are offered.
$S/home/przyklady.run & P=$!
focus "Paczka z wydrukami"; shot 6-current-viewer
xdotool key Return
focus "Potwierdź"; shot 7-overwrite-question
for i in 1 2 3 4 5 6 7; do xdotool key Escape; sleep 0.7; done
focus "Informacja"; shot 8-printouts-unpacked; xdotool key Return; wait $P
ls -la $S/opt/ZorPokaz > $OUT/after-update.txt; lsattr $S/opt/ZorPokaz/zorpokaz >> $OUT/after-update.txt
kill $XV
chattr -i $S/opt/ZorPokaz/zorpokaz 2>/dev/null  # installed immutable
rm -rf "$S"
echo "Screenshots in $OUT"

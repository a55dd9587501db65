#!/usr/bin/env bash
# Sets everything up, builds, and runs the main job on the sample printouts.
# With a display (and not under CI) it starts the viewer on the sample library
# in $BUILD_DIR/library, where the build puts the program next to the samples:
# the program's directory is its printout library. Without a display it
# describes each sample and renders it to PDF and PNG under $BUILD_DIR/samples-out,
# and takes the printouts out of the sample package there.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bash "$ROOT/scripts/setup.sh"
export BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
bash "$ROOT/scripts/build.sh"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${CI:-}" ]]; then
  echo "Starting the viewer on the sample library in $BUILD_DIR/library"
  exec "$BUILD_DIR/library/zorpokaz" "$@"
fi
CLI="$BUILD_DIR/src/zorpokaz-cli"
OUT="$BUILD_DIR/samples-out"
mkdir -p "$OUT"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
for f in "$ROOT"/samples/*.wyd; do
  name="$(basename "$f" .wyd)"
  echo "== $name"
  "$CLI" info "$f"
  "$CLI" render "$f" -o "$OUT/$name.pdf"
  "$CLI" render "$f" --png "$OUT/$name"
done
echo "== przyklady.run (the sample package)"
mkdir -p "$OUT/przyklady"
"$CLI" unpack "$BUILD_DIR/library/przyklady.run" "$OUT/przyklady" --overwrite
echo "Rendered pages are in $OUT"

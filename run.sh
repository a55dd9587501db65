#!/usr/bin/env bash
# Sets everything up, builds, and runs the main job on the sample printouts.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bash "$ROOT/scripts/setup.sh"
export BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
bash "$ROOT/scripts/build.sh"
CLI="$BUILD_DIR/src/zorpokaz-cli"
for f in "$ROOT"/samples/*.wyd; do
  echo "== $(basename "$f")"
  QT_QPA_PLATFORM=offscreen "$CLI" info "$f"
done

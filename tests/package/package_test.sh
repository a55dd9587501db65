#!/usr/bin/env bash
# The system package made from the build tree BUILD (as CI makes it) passes
# every check of scripts/check-package.sh.
#   tests/package/package_test.sh BUILD
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
deb="$(BUILD_DIR="$1" bash "$ROOT/scripts/package.sh" | tee /dev/stderr | tail -n 1)"
bash "$ROOT/scripts/check-package.sh" "$deb"

#!/usr/bin/env bash
# Builds the system package (a .deb made by CPack) and prints its path as the
# last line of output.
#
# BUILD_DIR (default build-release/) is the tree the package is made from. A
# tree this script has to configure itself is a Release build of the programs
# alone (BUILD_TYPE overrides the type; extra arguments go to cmake). A tree
# that exists already, such as the build/ of ./test.sh, is packaged as it is
# configured: building it again in another type would cost a whole build, and
# its programs are stripped on their way into the package in any case.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-release}"

if [[ ! -f "$BUILD_DIR/CMakeCache.txt" ]]; then
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" \
    -DZP_TESTS=OFF -DZP_BENCH=OFF "$@" >/dev/null
elif [[ -n "${BUILD_TYPE:-}" || $# -gt 0 ]]; then
  cmake -S "$ROOT" -B "$BUILD_DIR" ${BUILD_TYPE:+-DCMAKE_BUILD_TYPE="$BUILD_TYPE"} "$@" >/dev/null
fi
# Only what the package holds.
cmake --build "$BUILD_DIR" -j"$(nproc)" --target zorpokaz zorpokaz-cli zorpokaz-paczka package_files

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
(cd "$BUILD_DIR" && cpack --config CPackConfig.cmake -G DEB) | tee "$log"
deb="$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$log" | tail -n 1)"
if [[ -z "$deb" || ! -f "$deb" ]]; then
  echo "package.sh: CPack made no .deb" >&2
  exit 1
fi

# /opt is made by base-files on every Debian system and owned by no package.
# Listed in ours, dpkg would delete it with our directory whenever nothing
# else lies there, so the package leaves the entry out and dpkg never counts
# /opt as its own.
drop_opt_entry() {
  local dir
  dir="$(mktemp -d)"
  (
    cd "$dir"
    ar x "$deb"
    xz -d data.tar.xz
    mkdir data
    tar -xpf data.tar -C data
    tar -tf data.tar | grep -vx './opt/' >members
    (cd data && tar -c --no-recursion --owner=root:0 --group=root:0 --format=gnu -f ../data.tar -T ../members)
    xz -6 data.tar
    rm -f "$deb"
    ar rc "$deb" debian-binary control.tar.* data.tar.xz
  )
  rm -rf "$dir"
}
drop_opt_entry
echo "$deb"

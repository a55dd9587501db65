#!/usr/bin/env bash
# Checks a system package the way its users and Debian's tools meet it,
# without touching this machine:
#   1. control fields and the file list (dpkg-deb --field / --contents);
#   2. lintian: no error;
#   3. the files themselves, taken out with dpkg-deb -x: desktop entry,
#      AppStream metadata, manual pages, the printout type, and the stripped
#      programs still working together (version, info, pack and unpack);
#   4. as root: install, reinstall, remove and purge with dpkg into a scratch
#      root, maintainer scripts included, and the root left as it was.
#
#   scripts/check-package.sh PACKAGE.deb
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deb="$(realpath "${1:?usage: check-package.sh PACKAGE.deb}")"
work="$(mktemp -d)"
trap 'chattr -R -i "$work" 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
step() { echo "== $*"; }

version="$(dpkg-deb --field "$deb" Version)"
step "control fields of zorpokaz $version"
[[ "$(dpkg-deb --field "$deb" Package)" == zorpokaz ]] || fail "package name"
[[ "$(dpkg-deb --field "$deb" Section)" == text ]] || fail "section"
[[ -n "$(dpkg-deb --field "$deb" Homepage)" ]] || fail "no homepage"
depends="$(dpkg-deb --field "$deb" Depends)"
for dep in libqt6widgets6 libqt6printsupport6 libqt6svg6 libemf2svg1 zlib1g \
  libcups2 fonts-liberation shared-mime-info desktop-file-utils qt6-translations-l10n; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done

step "file list"
contents="$work/contents"
dpkg-deb --contents "$deb" >"$contents"
# mode owner size date time path [-> target]
while read -r line; do fail "not root's: $line"; done < <(awk '$2 != "root/root"' "$contents")
expect() { # MODE PATH
  grep -qE "^$1 +root/root .* \./$2( |$)" "$contents" || fail "missing or wrong: $1 $2"
}
expect -rwxr-xr-x opt/ZorPokaz/zorpokaz
expect lrwxrwxrwx 'usr/bin/zorpokaz -> /opt/ZorPokaz/zorpokaz'
expect -rwxr-xr-x usr/bin/zorpokaz-cli
expect -rwxr-xr-x usr/libexec/zorpokaz/zorpokaz-paczka
for f in applications/zorpokaz.desktop mime/packages/zorpokaz.xml metainfo/pl.zorel.zorpokaz.metainfo.xml \
  man/man1/zorpokaz.1.gz man/man1/zorpokaz-cli.1.gz doc/zorpokaz/copyright doc/zorpokaz/changelog.gz \
  lintian/overrides/zorpokaz; do
  expect -rw-r--r-- "usr/share/$f"
done
for size in 16 22 24 32 48 64 128 256; do
  expect -rw-r--r-- "usr/share/icons/hicolor/${size}x${size}/apps/zorpokaz.png"
  expect -rw-r--r-- "usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-zorpokaz-wydruk.png"
done
expect -rw-r--r-- usr/share/icons/hicolor/scalable/apps/zorpokaz.svg
expect -rw-r--r-- usr/share/icons/hicolor/scalable/mimetypes/application-x-zorpokaz-wydruk.svg
# Nothing else: no printouts, no /usr/local, no build leftovers.
allowed='^\./(opt/ZorPokaz/(zorpokaz)?|usr/|usr/(bin|libexec|share|share/doc)/|'
allowed+='usr/(bin|libexec/zorpokaz|share/(applications|doc/zorpokaz|icons|lintian|man|metainfo|mime))(/.*)?)$'
while read -r path; do fail "unexpected in the package: $path"; done < <(awk '{ print $6 }' "$contents" |
  grep -vE "$allowed")

step lintian
lintian_out="$work/lintian"
lintian --display-experimental --pedantic --show-overrides "$deb" >"$lintian_out" 2>&1 || true
cat "$lintian_out"
if grep -q '^E: ' "$lintian_out"; then fail "lintian found errors"; fi
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian fails the package"

step "the files taken out"
x="$work/x"
dpkg-deb -x "$deb" "$x"
desktop-file-validate "$x/usr/share/applications/zorpokaz.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$x/usr/share/metainfo/pl.zorel.zorpokaz.metainfo.xml" || fail "AppStream metadata"
for page in zorpokaz zorpokaz-cli; do
  text="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$x/usr/share/man/man1/$page.1.gz" 2>"$work/man.err")"
  [[ ! -s "$work/man.err" ]] || fail "manual page $page: $(cat "$work/man.err")"
  [[ "$text" == *"SYNOPSIS"* && "$text" == *"$page"* ]] || fail "manual page $page has no synopsis"
done
# What the desktop makes of the package's files alone, with its own tools
# and no desktop session: a printout is of the type, the type opens with the
# menu entry.
share="$work/share"
cp -r "$x/usr/share" "$share"
update-mime-database "$share/mime" >/dev/null 2>&1
update-desktop-database "$share/applications"
mkdir "$work/home"
cp "$ROOT/samples/faktura.wyd" "$work/Faktura.WYD"
xdg() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_DIRS="$share" \
    XDG_DATA_HOME="$work/home" XDG_CONFIG_HOME="$work/home" XDG_CONFIG_DIRS="$work/home" xdg-mime "$@" 2>&1
}
[[ "$(xdg query filetype "$work/Faktura.WYD")" == application/x-zorpokaz-wydruk ]] ||
  fail "a printout is of type $(xdg query filetype "$work/Faktura.WYD")"
[[ "$(xdg query default application/x-zorpokaz-wydruk)" == zorpokaz.desktop ]] ||
  fail "printouts open with $(xdg query default application/x-zorpokaz-wydruk)"
cli="$x/usr/bin/zorpokaz-cli"
[[ "$("$cli" --version)" == "zorpokaz-cli $version" ]] || fail "zorpokaz-cli --version"
"$cli" --help | grep -q 'zorpokaz-cli pack' || fail "zorpokaz-cli --help"
sample="$ROOT/samples/faktura.wyd"
"$cli" info "$sample" >/dev/null || fail "zorpokaz-cli info"
# The stripped viewer and launcher keep their version values: a package made
# of them gives its printout back.
"$cli" pack --stub "$x/usr/libexec/zorpokaz/zorpokaz-paczka" --viewer "$x/opt/ZorPokaz/zorpokaz" \
  -o "$work/t.run" "$sample" >/dev/null || fail "pack with the packaged programs"
mkdir "$work/out"
"$cli" unpack "$work/t.run" "$work/out" >/dev/null && cmp -s "$sample" "$work/out/faktura.WYD" ||
  fail "unpack of a package made with the packaged programs"

if [[ "$(id -u)" -ne 0 ]]; then
  # CI runs as root: there a missing root is a broken set-up, not a choice.
  if [[ -n "${CI:-}" ]]; then fail "the scratch-root installation needs root"; fi
  echo "== scratch-root installation skipped: dpkg needs root to install as the package says"
else
  bash "$ROOT/scripts/check-package-root.sh" "$deb" "$work/root" || fail "scratch-root installation"
fi

if ((failures)); then
  echo "$failures check(s) of $deb failed" >&2
  exit 1
fi
echo "package $deb: every check passed"

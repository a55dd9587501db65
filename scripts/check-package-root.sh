#!/usr/bin/env bash
# Installs a system package into a scratch root with dpkg, maintainer scripts
# included (run outside a chroot, with DPKG_ROOT naming the scratch root), and
# checks what each step leaves: install, the same package again (an upgrade),
# remove (printouts kept), purge (the root as it was before). Needs root, as
# dpkg installing files owned by root does; this machine is not touched.
#
#   scripts/check-package-root.sh PACKAGE.deb SCRATCH-DIR
set -euo pipefail
deb="$(realpath "$1")"
R="$2"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# dpkg into the scratch root, whose database has none of the package's
# dependencies; what dpkg says is shown when it fails.
dpkg_r() {
  if ! dpkg --root="$R" --log=/dev/null --force-script-chrootless --force-depends "$@" >"$R.log" 2>&1; then
    cat "$R.log" >&2
    return 1
  fi
}
# Every path in the root with its type, rights and owner, dpkg's own records aside.
tree_of() {
  (cd "$R" && find . -path ./var/lib/dpkg -prune -o -printf '%p %y %m %u:%g\n' | LC_ALL=C sort)
}

# A root as a fresh system has it: dpkg's database, the directories of the
# system that other packages own (so dpkg keeps them), an empty /opt that
# base-files makes and no package owns, and /etc/xdg.
system_dirs=(/etc /etc/xdg /usr /usr/bin /usr/share /usr/share/doc /usr/share/man /usr/share/man/man1)
mkdir -p "$R"/var/lib/dpkg/{info,updates,triggers} "$R"/opt
for dir in "${system_dirs[@]}"; do mkdir -p "$R$dir"; done
printf '%s\n' "${system_dirs[@]}" >"$R"/var/lib/dpkg/info/scratch-base.list
cat >"$R"/var/lib/dpkg/status <<'STATUS'
Package: scratch-base
Status: install ok installed
Priority: required
Version: 1
Architecture: all
Maintainer: nobody <nobody@example.org>
Description: the directories of a system

STATUS
touch "$R"/var/lib/dpkg/available
before="$(tree_of)"
library="$R/opt/ZorPokaz"
katalog="$R/etc/xdg/ZorPokaz/ZorPokaz.conf"

echo "== install into $R"
dpkg_r --install "$deb" || fail "dpkg --install"
[[ "$(cat "$katalog" 2>/dev/null)" == $'[General]\nKatalog=/opt/ZorPokaz/' ]] ||
  fail "the record of the library for package launchers: $(cat "$katalog" 2>/dev/null)"
if getent group users >/dev/null; then
  [[ "$(stat -c %G "$library")" == users ]] || fail "the library's group is $(stat -c %G "$library")"
  [[ "$(stat -c %A "$library")" == ?????w* ]] || fail "the users group cannot write the library: $(stat -c %A "$library")"
fi
[[ "$(stat -c %U:%G "$library/zorpokaz")" == root:root ]] || fail "the program is not root's"
printf 'ZOREL2001 a printout a user made\n' >"$library/Faktura.WYD"
# The rights may protect the program with the immutable attribute, which
# dpkg cannot replace or remove: the maintainer scripts lift it first.
chattr +i "$library/zorpokaz" 2>/dev/null || echo "(no immutable attribute on this file system)"

echo "== the same package again"
dpkg_r --install "$deb" || fail "dpkg --install over the installed package"
[[ -f "$library/Faktura.WYD" ]] || fail "a printout was lost on upgrade"

echo "== remove"
dpkg_r --remove zorpokaz || fail "dpkg --remove"
while read -r path; do
  [[ -z "$path" || "$path" == . || -d "$R/$path" ]] && continue
  if [[ -e "$R/$path" || -L "$R/$path" ]]; then fail "left after remove: $path"; fi
done < <(dpkg-deb --contents "$deb" | awk '{ print $6 }')
[[ ! -e "$katalog" ]] || fail "the record of the library is left after remove"
[[ -f "$library/Faktura.WYD" ]] || fail "remove lost the users' printout"
[[ "$(stat -c %U:%G:%a "$library")" == root:root:755 ]] ||
  fail "the library kept its rights without the program: $(stat -c %U:%G:%a "$library")"
[[ -d "$R/opt" ]] || fail "remove took /opt away"

echo "== purge"
dpkg_r --purge zorpokaz || fail "dpkg --purge"
after="$(tree_of)"
if [[ "$before" != "$after" ]]; then
  fail "the root differs from before the installation:"
  diff <(echo "$before") <(echo "$after") >&2 || true
fi

((failures == 0))

# The printout library is the program's directory. Every path is under
# $DPKG_ROOT, so that the scripts also serve an installation into another root.
root="${DPKG_ROOT:-}"
library="$root/opt/ZorPokaz"
katalog="$root/etc/xdg/ZorPokaz/ZorPokaz.conf"

# Takes the library back from the users group before dpkg replaces or removes
# the program in it: nobody can then slip a file in while dpkg works there,
# and the program loses the attribute that keeps anyone from replacing it.
take_library_back() {
	if [ ! -d "$library" ] || [ -L "$library" ]; then
		return 0
	fi
	chown root:root "$library"
	chmod u=rwx,go=rx,ug-s,-t "$library"
	if [ -f "$library/zorpokaz" ] && [ ! -L "$library/zorpokaz" ] && command -v chattr >/dev/null 2>&1; then
		chattr -i "$library/zorpokaz" 2>/dev/null || true
	fi
}

#!/usr/bin/env bash
# The game as a player's desktop gets it. A staged install (DESTDIR) runs headless
# as an ordinary user, who cannot write the program's folder, so the table goes
# to the user's data folder; the desktop entry, the AppStream data and the man
# page are valid; the Debian package holds exactly the staged files, depends on
# the libraries the program links and passes lintian.
# Usage: package_test.sh EXECUTABLE (its build folder is installed and packaged)
# Exit status 77: skipped (a sanitizer build, or a tool is missing).
set -euo pipefail

exe="$(realpath "$1")"
build="$(dirname "$exe")"
app=org.example.moewenschuss

skip() { echo "package_test: SKIPPED, $*"; exit 77; }
fail() { echo "package_test: FAILED, $*"; exit 1; }

if grep -q '^MW_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  skip "packages are made from the release build"
fi
for tool in cmake cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps installs it)"
done
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"

work="$(mktemp -d)"
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
root="$work/root"

# --- The staged install ------------------------------------------------------
DESTDIR="$root" cmake --install "$build" --prefix /usr --strip >"$work/install.txt" ||
  fail "cmake --install: $(cat "$work/install.txt")"

program="$root/usr/games/moewenschuss"
desktop="$root/usr/share/applications/$app.desktop"
metainfo="$root/usr/share/metainfo/$app.metainfo.xml"
manpage="$root/usr/share/man/man6/moewenschuss.6.gz"
for f in "$program" "$desktop" "$metainfo" "$manpage" \
         "$root/usr/share/doc/moewenschuss/copyright" "$root/usr/share/doc/moewenschuss/changelog.gz"; do
  [ -f "$f" ] || fail "the install lacks ${f#"$root"}"
done
[ -x "$program" ] || fail "the program is not executable"

# Every icon is a PNG of the size its folder names (big-endian width and height
# in the IHDR chunk at byte 16).
for size in 16 24 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  read -r w h < <(od -An -tu1 -j16 -N8 "$icon" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  [ "$w $h" = "$size $size" ] || fail "the ${size}x${size} icon is ${w}x${h}"
done

grep -qx "Exec=/usr/games/moewenschuss" "$desktop" || fail "the desktop entry does not start /usr/games/moewenschuss"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net --pedantic "$root" || fail "appstreamcli validate-tree"
man_warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manpage" 2>&1 >/dev/null)"
[ -z "$man_warnings" ] || fail "the man page has warnings: $man_warnings"

# The same version everywhere a player or a package tool reads it.
"$program" --version | grep -qF "$version" || fail "--version does not say $version"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "the AppStream data lacks release $version"
zcat "$root/usr/share/doc/moewenschuss/changelog.gz" | head -n1 | grep -qF "($version)" ||
  fail "the changelog's latest entry is not $version"
zcat "$manpage" | grep -q "^\.TH .*$version" || fail "the man page is not of $version"

# --- The installed program, played by an ordinary user -----------------------
# Opens "Highscores" from the menu, leaves it (which saves the table) and ends.
home="$work/home"
mkdir -p "$home"
printf '0 mouse 320 350\n100 press mouse-left\n500 down escape\n700 up escape\n1000 press escape\n' \
  >"$work/table.txt"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod -R a-w "$root/usr"
fi
status=0
env -i HOME="$home" PATH=/usr/bin:/bin "${as_user[@]}" \
  "$program" --headless "$work/table.txt" --events "$home/log.jsonl" >"$work/out.txt" 2>&1 ||
  status=$?
[ "$status" -eq 0 ] || fail "the installed program ended with $status: $(cat "$work/out.txt")"
table="$home/.local/share/moewenschuss/highscores.pdk"
grep -qF "\"event\":\"highscores\",\"action\":\"saved\",\"path\":\"$table\"" "$home/log.jsonl" ||
  fail "the table was not saved to $table: $(cat "$home/log.jsonl")"
[ -s "$table" ] || fail "$table is missing or empty"
[ -z "$(find "$root" -name 'highscores*')" ] || fail "the program wrote into its own folder"

# --- The Debian package ------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.txt" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.txt")"
deb="$work/deb/moewenschuss_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(cat "$work/cpack.txt")"

[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package's section is not games"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-2\.0-0' || fail "the package does not depend on SDL2"

# The package holds exactly the files of the staged install, owned by root and
# writable by nobody else; the program in /usr/games is executable.
dpkg-deb -c "$deb" >"$work/deb-list.txt"
awk '$1 !~ /^d/ { print $6 }' "$work/deb-list.txt" | sed 's|^\./|/|' | sort >"$work/deb-files.txt"
(cd "$root" && find . -type f | sed 's|^\./|/|' | sort) >"$work/staged-files.txt"
diff -u "$work/staged-files.txt" "$work/deb-files.txt" || fail "the package differs from the staged install"
awk '$2 != "root/root" || $1 ~ /^.......w/ { bad = 1; print } END { exit bad }' "$work/deb-list.txt" ||
  fail "files not owned by root or writable by others"
grep -q '^-rwxr-xr-x .* \./usr/games/moewenschuss$' "$work/deb-list.txt" || fail "no executable /usr/games/moewenschuss"

status=0
lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian.txt" || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings"

echo "package_test: staged install, player run, validators and $(basename "$deb") all fine"

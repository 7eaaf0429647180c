#!/usr/bin/env bash
# Tests of the Debian package: builds it with scripts/package.sh (or takes the .deb given as the
# first argument), checks it with lintian, unpacks it into a throw-away root and runs the unpacked
# programs there, which must find their texts in the unpacked usr/share/kexwell; validates the
# menu entry and the AppStream metainfo, and renders both manual pages.
set -uo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

deb="${1:-}"
if [ -z "$deb" ]; then
  deb="$("$top/scripts/package.sh" "$work/dist")" || { echo "FAIL: the package was not built" >&2; exit 1; }
fi
[ -f "$deb" ] || { echo "FAIL: no package at $deb" >&2; exit 1; }
version="$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)"
[ "$(basename "$deb")" == "kexwell_${version}_amd64.deb" ] || fail "package named $(basename "$deb")"

# lintian: no errors (warnings and notes are shown, not counted).
lintian_out="$(lintian --tag-display-limit 0 "$deb" 2>&1)"
echo "$lintian_out"
if grep -q '^E: ' <<<"$lintian_out"; then fail "lintian reports errors"; fi

root="$work/root"
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x" >&2; exit 1; }
for f in usr/bin/kexwell usr/bin/kexwell-cli usr/share/kexwell/kexwell.dat \
  usr/share/kexwell/kx_help.txt usr/share/man/man1/kexwell.1.gz usr/share/man/man1/kexwell-cli.1.gz \
  usr/share/applications/io.github.kexwell.Kexwell.desktop \
  usr/share/metainfo/io.github.kexwell.Kexwell.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/kexwell.svg \
  usr/share/bash-completion/completions/kexwell-cli; do
  [ -f "$root/$f" ] || fail "the package holds no $f"
done
[ -e "$root/usr/bin/kexwell.dat" ] && fail "the program texts lie in usr/bin"

cli="$root/usr/bin/kexwell-cli"
[ "$("$cli" --version)" == "kexwell-cli $version" ] || fail "kexwell-cli --version: $("$cli" --version 2>&1)"

# A listing needs the program texts: with the data folder gone it stops before it starts; with
# the folder in place it is done, and the scratch file is then purged (overwritten and deleted).
scratch="$work/scratch"
mkdir "$scratch"
printf 'a secret of the package test\n' >"$scratch/secret.txt"
mv "$root/usr/share/kexwell" "$root/usr/share/kexwell.away"
"$cli" list "$scratch" >"$work/out" 2>"$work/err"
rc=$?
[ $rc -eq 2 ] || fail "list without the data folder: status $rc"
grep -q "kexwell.dat" "$work/err" || fail "list without the data folder: $(cat "$work/err")"
mv "$root/usr/share/kexwell.away" "$root/usr/share/kexwell"
"$cli" list "$scratch" >"$work/out" 2>"$work/err"
rc=$?
[ $rc -eq 0 ] || fail "list with the unpacked data folder: status $rc: $(cat "$work/err")"
grep -q "secret.txt" "$work/out" || fail "list report: $(cat "$work/out")"
"$cli" purge "$scratch/secret.txt" -y >"$work/out" 2>"$work/err"
rc=$?
[ $rc -eq 0 ] || fail "purge of a scratch file: status $rc: $(cat "$work/out" "$work/err")"
grep -q "^secret.txt (29 bytes) purged" "$work/out" || fail "purge report: $(cat "$work/out")"
[ -e "$scratch/secret.txt" ] && fail "the purged file is still there"
# The installed data folder is one of the program's own folders: its files are never purged.
sum="$(cksum <"$root/usr/share/kexwell/kexwell.dat")"
"$cli" purge "$root/usr/share/kexwell/kexwell.dat" -y >"$work/out" 2>"$work/err"
grep -qx "kexwell.dat: a file in the current application folder, not purged." \
  "$work/out" || fail "purge of the installed program texts: $(cat "$work/out" "$work/err")"
[ "$(cksum <"$root/usr/share/kexwell/kexwell.dat")" == "$sum" ] || fail "the program texts changed"

desktop-file-validate "$root/usr/share/applications/io.github.kexwell.Kexwell.desktop" ||
  fail "desktop-file-validate"
grep -qx 'Exec=kexwell %F' "$root/usr/share/applications/io.github.kexwell.Kexwell.desktop" ||
  fail "the menu entry does not start kexwell with the chosen files"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.kexwell.Kexwell.metainfo.xml" ||
  fail "appstreamcli validate"

for page in kexwell kexwell-cli; do
  text="$(MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>"$work/man-err")" ||
    fail "man -l $page.1"
  [ -s "$work/man-err" ] && fail "man -l $page.1 warns: $(cat "$work/man-err")"
  for heading in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" WARNINGS EXAMPLES; do
    grep -q "^$heading" <<<"$text" || fail "$page(1) has no $heading"
  done
done

# Every command and option of kexwell-cli is in its manual page.
page="$(MANWIDTH=200 man -l "$root/usr/share/man/man1/kexwell-cli.1.gz" 2>/dev/null)"
for command in "" purge list speed-test purge-free-space; do
  options="$("$cli" $command --help | grep -o -- '--[a-z][a-z-]*' | sort -u)"
  for option in $options $command; do
    grep -q -- "$option" <<<"$page" || fail "kexwell-cli(1) does not name $option"
  done
done

if [ $failures -ne 0 ]; then
  echo "$failures package test(s) failed" >&2
  exit 1
fi
echo "package tests passed"

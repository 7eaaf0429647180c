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
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
die() { echo "FAIL: $*" >&2; exit 1; }

deb="${1:-$("$top/scripts/package.sh" "$work/dist")}" || die "the package was not built"
[ -f "$deb" ] || die "no package at $deb"
version="$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)"
[ "$(basename "$deb")" == "kexwell_${version}_amd64.deb" ] || fail "package named $(basename "$deb")"

# lintian: no errors (warnings and notes are shown, not counted).
lintian --tag-display-limit 0 "$deb" 2>&1 | tee "$work/lintian"
grep -q '^E: ' "$work/lintian" && fail "lintian reports errors"

root="$work/root"
dpkg -x "$deb" "$root" || die "dpkg -x"
for f in bin/kexwell bin/kexwell-cli share/kexwell/kexwell.dat share/kexwell/kx_help.txt \
  share/man/man1/kexwell.1.gz share/man/man1/kexwell-cli.1.gz \
  share/applications/io.github.kexwell.Kexwell.desktop share/metainfo/io.github.kexwell.Kexwell.metainfo.xml \
  share/icons/hicolor/scalable/apps/kexwell.svg share/bash-completion/completions/kexwell-cli; do
  [ -f "$root/usr/$f" ] || fail "the package holds no usr/$f"
done
[ -e "$root/usr/bin/kexwell.dat" ] && fail "the program texts lie in usr/bin"

cli="$root/usr/bin/kexwell-cli"
[ "$("$cli" --version)" == "kexwell-cli $version" ] || fail "kexwell-cli --version: $("$cli" --version 2>&1)"

# try STATUS PATTERN ARGS...: the unpacked kexwell-cli ends with STATUS and prints a line that
# matches PATTERN.
try() {
  local status=$1 pattern=$2 rc
  shift 2
  "$cli" "$@" >"$work/out" 2>&1
  rc=$?
  [ $rc -eq "$status" ] && grep -q -- "$pattern" "$work/out" ||
    fail "kexwell-cli $*: status $rc: $(cat "$work/out")"
}
# A listing needs the program texts: with the data folder gone it stops before it starts; with the
# folder in place a scratch file is purged (overwritten and deleted).
mkdir "$work/scratch"
printf 'a secret of the package test\n' >"$work/scratch/secret.txt"
mv "$root/usr/share/kexwell" "$root/usr/share/kexwell.away"
try 2 kexwell.dat list "$work/scratch"
mv "$root/usr/share/kexwell.away" "$root/usr/share/kexwell"
try 0 "^secret.txt (29 bytes) purged" purge "$work/scratch/secret.txt" -y
[ -e "$work/scratch/secret.txt" ] && fail "the purged file is still there"
# The installed data folder is one of the program's own folders: its files are never purged.
sum="$(cksum <"$root/usr/share/kexwell/kexwell.dat")"
try 1 "^kexwell.dat: a file in the current application folder, not purged.$" \
  purge "$root/usr/share/kexwell/kexwell.dat" -y
[ "$(cksum <"$root/usr/share/kexwell/kexwell.dat")" == "$sum" ] || fail "the program texts changed"

entry=$root/usr/share/applications/io.github.kexwell.Kexwell.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate"
grep -qx 'Exec=kexwell %F' "$entry" || fail "the menu entry does not start kexwell with the chosen files"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.kexwell.Kexwell.metainfo.xml" ||
  fail "appstreamcli validate"

for page in kexwell kexwell-cli; do
  text="$(MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>"$work/man-err")" || fail "man -l $page.1"
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

[ $failures -eq 0 ] || { echo "$failures package test(s) failed" >&2; exit 1; }
echo "package tests passed"

#!/usr/bin/env bash
# Tries the Windows kexwell-cli.exe under Wine as a user runs it: arguments in any script, drive
# letters and "\" paths, exit statuses, report lines and the bytes left on disk.
# Usage: cli_windows_tests.sh PATH/TO/wine-run.sh WINE-PREFIX PATH/TO/kexwell-cli.exe
set -u
wine_run=$1
prefix=$2
cli=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
# Wine shows the Linux file system as drive Z:.
win_work="Z:$(printf '%s' "$work" | tr '/' '\\')"

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run ARGS...: runs the command without a console (never longer than 60 s); sets $rc.
run() {
  timeout 60 "$wine_run" "$prefix" "$cli" "$@" </dev/null >"$work/out.txt" 2>"$work/err.txt"
  rc=$?
  # Wine's own notes on standard error are not the program's.
  grep -v '^wine:' "$work/err.txt" >"$work/err2.txt"
  # The console's line ends are CR LF on Windows.
  tr -d '\r' <"$work/out.txt" >"$work/out2.txt"
}

expect_rc() { [ "$rc" -eq "$1" ] || fail "$2: exit status $rc, expected $1 ($(cat "$work/err2.txt"))"; }
expect_out() {
  grep -qxF -- "$1" "$work/out2.txt" || fail "$2: no line [$1] in the report:"$'\n'"$(cat "$work/out2.txt")"
}
expect_err() { grep -qF -- "$1" "$work/err2.txt" || fail "$2: no [$1] on standard error"; }

# Wine gives the same made-up answer for where any file's data lies; the program does not take
# it, so every purge under Wine is said to be unverified.
purged=" purged (not verified: the file system does not tell where a file's data lies)"

# A name in Czech, Russian and Japanese, given on the command line and named in the report.
mkdir "$work/tree"
name='Žluťoučký кот 猫.txt'
printf 'secret' >"$work/tree/$name"
printf 'other' >"$work/tree/Other.TXT"
run purge "$win_work\\tree\\$name" -y
expect_rc 0 "purge of a name in several scripts"
expect_out "$name (6 bytes)$purged" "purge of a name in several scripts"
expect_out "$win_work\\tree\\" "purge of a name in several scripts"
[ ! -e "$work/tree/$name" ] || fail "the file named in several scripts is still there"
[ "$(cat "$work/tree/Other.TXT")" == other ] || fail "Other.TXT was touched by another file's purge"

# Windows names ignore case: "other.txt" names Other.TXT; type 2 leaves zeros over its length.
run purge "$win_work\\tree\\other.txt" -t 2 -p 1 --keep -y
expect_rc 0 "purge --keep of other.txt"
expect_out "Other.TXT (5 bytes)$purged" "purge --keep of other.txt"
expect_out "Purged files not deleted." "purge --keep of other.txt"
[ "$(od -An -tx1 "$work/tree/Other.TXT" | tr -d ' \n')" == 0000000000 ] ||
  fail "Other.TXT holds $(od -An -tx1 "$work/tree/Other.TXT") after a kept type 2 purge"

# Wine shows a link to a folder as a reparse point: it is reported, never entered, and what it
# leads to stays as it was.
mkdir -p "$work/outside" "$work/linked"
printf 'keep' >"$work/outside/keep.txt"
ln -s "$work/outside" "$work/linked/link"
printf 'x' >"$work/linked/a.txt"
run purge "$win_work\\linked" -r -y
expect_rc 1 "purge of a folder holding a reparse point"
expect_out "a.txt (1 bytes)$purged" "purge of a folder holding a reparse point"
expect_out "link (0 bytes): not a regular file, not purged." "purge of a folder holding a reparse point"
[ "$(cat "$work/outside/keep.txt")" == keep ] || fail "the folder behind the reparse point was touched"
[ -L "$work/linked/link" ] || fail "the reparse point itself was removed"

# A folder on a drive letter that has no drive: a message before the run, nothing else.
run list 'Q:\nothing\here'
expect_rc 2 "list on a drive without a drive"
expect_err "Folder does not exist." "list on a drive without a drive"

# Usage errors: a number of passes the type does not offer, and an unknown option with the usage.
run purge "$win_work\\tree\\other.txt" --passes 0
expect_rc 2 "purge --passes 0"
expect_err "kexwell-cli: --passes: type 1 offers 1 to 9 passes" "purge --passes 0"
run purge "$win_work\\tree\\other.txt" --bogus
expect_rc 2 "purge --bogus"
expect_err "Usage:" "purge --bogus"

# Ctrl-C during a purge (Wine turns SIGINT into the console's Ctrl-C event): the first stops it
# after the pass at hand, a second at its next write; the report is written, and the kept file
# gets back its length and modification time. The signals come at the end of the first overwrite,
# and of the second (type 3 makes five a pass); Wine runs the handler on a thread of its own, so
# the second is taken at one of the many writes left in the pass.
if strace -qq -o /dev/null -e trace=fsync true 2>/dev/null; then
  for case in "1:1:purge stopped after 1 of 2 passes; overwritten, not deleted." \
              "1..2:130:purge stopped during pass 1 of 2; only partly overwritten, not deleted."; do
    IFS=: read -r when status line <<<"$case"
    head -c 16777316 /dev/zero | tr '\0' x >"$work/big.dat"
    touch -d '2001-02-03 04:05:06' "$work/big.dat"
    before=$(stat -c '%s %y' "$work/big.dat")
    timeout 120 strace -qq -o /dev/null -e trace=fsync -e inject=fsync:signal=INT:when="$when" \
      "$wine_run" "$prefix" "$cli" purge "$win_work\\big.dat" -t 3 -p 2 --keep -y \
      </dev/null >"$work/out.txt" 2>"$work/err.txt"
    rc=$?
    grep -v '^wine:' "$work/err.txt" >"$work/err2.txt"
    tr -d '\r' <"$work/out.txt" >"$work/out2.txt"
    expect_rc "$status" "Ctrl-C at overwrite $when"
    expect_out "big.dat (16,777,316 bytes): $line" "Ctrl-C at overwrite $when"
    expect_out "Purge operation was stopped." "Ctrl-C at overwrite $when"
    [ "$(stat -c '%s %y' "$work/big.dat")" == "$before" ] ||
      fail "Ctrl-C at overwrite $when: big.dat was left as $(stat -c '%s %y' "$work/big.dat"), not $before"
  done
else
  echo "skipped: strace cannot trace here"
fi

# The free space is purged only when the question is answered (never here: Wine's drive Z is this
# machine's disk); the question names the drive Z.
run purge-free-space "$win_work\\tree"
expect_rc 1 "purge-free-space without a console"
expect_err "This fills the free space of Drive Z" "purge-free-space without a console"
expect_err "Purge cancelled: The free space was not purged." "purge-free-space without a console"
[ -z "$(ls -d "$work"/tree/_kx_dummy* 2>/dev/null)" ] || fail "purge-free-space without an answer made a folder"
# A dummy folder that an interrupted purge of free space left, listed in the program's folder, is
# removed at the next start when it holds the program's marker; one without the marker stays.
mkdir -p "$work/left/_kx_dummy1" "$work/left/_kx_dummy2"
printf 'fill' >"$work/left/_kx_dummy1/_kx_dummy1"
printf 'Kexwell fills the free space of this drive with the files of this folder.\r\nKexwell removes the folder when the purge ends, or at its next start.\r\n' \
  >"$work/left/_kx_dummy1/_kx_dummy.kexwell"
printf 'mine' >"$work/left/_kx_dummy2/_kx_dummy1"
appdata=$(ls -d "$prefix"/drive_c/users/*/AppData/Roaming 2>/dev/null | grep -v '/Public/' | head -1)
mkdir -p "$appdata/Kexwell"
printf '%s\r\n' "$win_work\\left\\_kx_dummy1" "$win_work\\left\\_kx_dummy2" >"$appdata/Kexwell/fill-folders.txt"
run list "$win_work\\tree"
expect_err "The fill files that an interrupted purge of free space left in $win_work\\left\\_kx_dummy1 were deleted." \
  "the start after an interrupted purge of free space"
[ "$(ls -A "$work/left")" == _kx_dummy2 ] && [ "$(cat "$work/left/_kx_dummy2/_kx_dummy1")" == mine ] ||
  fail "the start after an interrupted purge of free space left [$(ls -AR "$work/left")]"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all Windows command-line tests passed"

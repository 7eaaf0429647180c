#!/usr/bin/env bash
# Tries the Windows kexwell-cli.exe under Wine as a user runs it: arguments in any script, drive
# letters and "\" paths, exit statuses, report lines and the bytes left on disk. What the program
# does alike on both systems is tried by cli_tests.sh.
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

# run ARGS...: runs the command without a console, by the command in $via (never longer than
# 60 s unless $via says so); sets $rc.
via=(timeout 60)
run() {
  "${via[@]}" "$wine_run" "$prefix" "$cli" "$@" </dev/null >"$work/out.txt" 2>"$work/err.txt"
  rc=$?
  # Wine's own notes on standard error are not the program's; the console's line ends are CR LF.
  grep -v '^wine:' "$work/err.txt" >"$work/err2.txt"
  tr -d '\r' <"$work/out.txt" >"$work/out2.txt"
}
# expect STATUS WHAT LINE...: the exit status is STATUS and each LINE is a line of the report; a
# LINE "err:TEXT" is a TEXT on standard error instead.
expect() {
  local status=$1 what=$2 line
  shift 2
  [ "$rc" -eq "$status" ] || fail "$what: exit status $rc, expected $status ($(cat "$work/err2.txt"))"
  for line; do
    if [[ $line == err:* ]]; then
      grep -qF -- "${line#err:}" "$work/err2.txt" || fail "$what: no [${line#err:}] on standard error"
    else
      grep -qxF -- "$line" "$work/out2.txt" || fail "$what: no line [$line] in the report:"$'\n'"$(cat "$work/out2.txt")"
    fi
  done
}

# Wine gives the same made-up answer for where any file's data lies; the program does not take
# it, so every purge under Wine is said to be unverified.
purged=" purged (not verified: the file system does not tell where a file's data lies)"

# A name in Czech, Russian and Japanese, given on the command line and named in the report.
mkdir "$work/tree"
name='Žluťoučký кот 猫.txt'
printf 'secret' >"$work/tree/$name"
printf 'other' >"$work/tree/Other.TXT"
run purge "$win_work\\tree\\$name" -y
expect 0 "purge of a name in several scripts" "$name (6 bytes)$purged" "$win_work\\tree\\"
[ ! -e "$work/tree/$name" ] && [ "$(cat "$work/tree/Other.TXT")" == other ] ||
  fail "the file named in several scripts is still there, or Other.TXT was touched by its purge"

# Windows names ignore case: "other.txt" names Other.TXT; type 2 leaves zeros over its length.
run purge "$win_work\\tree\\other.txt" -t 2 -p 1 --keep -y
expect 0 "purge --keep of other.txt" "Other.TXT (5 bytes)$purged" "Purged files not deleted."
[ "$(od -An -tx1 "$work/tree/Other.TXT" | tr -d ' \n')" == 0000000000 ] ||
  fail "Other.TXT holds $(od -An -tx1 "$work/tree/Other.TXT") after a kept type 2 purge"

# Wine shows a link to a folder as a reparse point: it is reported, never entered, and what it
# leads to stays as it was.
mkdir -p "$work/outside" "$work/linked"
printf 'keep' >"$work/outside/keep.txt"
ln -s "$work/outside" "$work/linked/link"
printf 'x' >"$work/linked/a.txt"
run purge "$win_work\\linked" -r -y
expect 1 "purge of a folder holding a reparse point" "a.txt (1 bytes)$purged" \
  "link (0 bytes): not a regular file, not purged."
[ "$(cat "$work/outside/keep.txt")" == keep ] && [ -L "$work/linked/link" ] ||
  fail "the reparse point or the folder behind it was touched"

# A folder on a drive letter that has no drive: a message before the run, nothing else.
run list 'Q:\nothing\here'
expect 2 "list on a drive without a drive" "err:Folder does not exist."

# The free space is purged only when the question is answered (never here: Wine's drive Z is this
# machine's disk); the question names the drive Z.
run purge-free-space "$win_work\\tree"
expect 1 "purge-free-space without a console" "err:This fills the free space of Drive Z" \
  "err:Purge cancelled: The free space was not purged."
[ -z "$(ls -d "$work"/tree/_kx_dummy* 2>/dev/null)" ] || fail "purge-free-space without an answer made a folder"
# A dummy folder that an interrupted purge of free space left, listed in the program's folder
# under the user's application data, is removed at the next start.
mkdir -p "$work/left/_kx_dummy1" && printf 'fill' >"$work/left/_kx_dummy1/_kx_dummy1"
printf 'Kexwell fills the free space of this drive with the files of this folder.\r\nKexwell removes the folder when the purge ends, or at its next start.\r\n' \
  >"$work/left/_kx_dummy1/_kx_dummy.kexwell"
appdata=$(ls -d "$prefix"/drive_c/users/*/AppData/Roaming 2>/dev/null | grep -v '/Public/' | head -1)
mkdir -p "$appdata/Kexwell" && printf '%s\r\n' "$win_work\\left\\_kx_dummy1" >"$appdata/Kexwell/fill-folders.txt"
run list "$win_work\\tree"
expect 0 "the start after an interrupted purge of free space" \
  "err:The fill files that an interrupted purge of free space left in $win_work\\left\\_kx_dummy1 were deleted."
[ -z "$(ls -A "$work/left")" ] || fail "the start after an interrupted purge of free space left [$(ls -AR "$work/left")]"

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
    via=(timeout 120 strace -qq -o /dev/null -e trace=fsync -e inject=fsync:signal=INT:when="$when")
    run purge "$win_work\\big.dat" -t 3 -p 2 --keep -y
    expect "$status" "Ctrl-C at overwrite $when" "big.dat (16,777,316 bytes): $line" "Purge operation was stopped."
    [ "$(stat -c '%s %y' "$work/big.dat")" == "$before" ] ||
      fail "Ctrl-C at overwrite $when: big.dat was left as $(stat -c '%s %y' "$work/big.dat"), not $before"
  done
else
  echo "skipped: strace cannot trace here"
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all Windows command-line tests passed"

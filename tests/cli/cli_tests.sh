#!/usr/bin/env bash
# Tries kexwell-cli as a user runs it: exact output lines, exit status, bytes left on disk.
# Usage: cli_tests.sh PATH/TO/kexwell-cli
set -u
cli=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS EXPECTED-OUTPUT -- ARGS...: runs the command (never longer than 20 s) and
# compares its exit status and standard output.
expect() {
  local status=$1 expected=$2
  shift 3
  local out rc
  out=$(timeout 20 "$cli" "$@" 2>/dev/null)
  rc=$?
  [ "$rc" -eq "$status" ] || fail "kexwell-cli $*: exit status $rc, expected $status"
  [ "$out" == "$expected" ] || fail "kexwell-cli $*: printed [$out], expected [$expected]"
}

same_bytes() {  # same_bytes FILE EXPECTED-FILE WHAT
  cmp -s "$1" "$2" || fail "$3: $1 does not hold the expected bytes"
}

# A purged file is gone.
printf 'account 1234' > secret.txt
expect 0 "secret.txt purged" -- purge secret.txt
[ ! -e secret.txt ] || fail "secret.txt still exists after its purge"

# Kept with type 2: the last overwrite is zeros, the length and the modification time come back.
head -c 5000 /dev/urandom > kept.dat
touch -d '2001-02-03 04:05:06.123456789' kept.dat
expect 0 "kept.dat purged" -- purge kept.dat --type 2 --passes 1 --keep
head -c 5000 /dev/zero > zeros5000
same_bytes kept.dat zeros5000 "type 2 kept"
[ "$(stat -c %y kept.dat)" == "$(touch -d '2001-02-03 04:05:06.123456789' ref && stat -c %y ref)" ] ||
  fail "kept.dat lost its modification time: $(stat -c %y kept.dat)"

# Kept with type 1 (random bytes, then zeros) on an empty file: still empty.
: > empty
expect 0 "empty purged" -- purge empty --keep -t 1 -p 1
[ -f empty ] && [ ! -s empty ] || fail "the kept empty file is not empty"

# A link is refused and its target untouched; so are a pipe (without waiting), a folder, a device.
printf 'precious' > target
ln -s target link
expect 1 "link: not a regular file, not purged." -- purge link
[ "$(cat target)" == "precious" ] || fail "the link's target was changed"
[ -L link ] || fail "the link was removed"
mkfifo pipe
expect 1 "pipe: not a regular file, not purged." -- purge pipe
mkdir folder
expect 1 "folder: not a regular file, not purged." -- purge folder
expect 1 "/dev/null: not a regular file, not purged." -- purge /dev/null

# A missing file.
expect 1 "nothing.txt: unable to open file for writing." -- purge nothing.txt

# Read-only: refused with both lines, then purged when allowed.
printf 'ro' > ro.txt
chmod 444 ro.txt
expect 1 "ro.txt: file is a read-only file, not purged.
(Perhaps file is in use by another program.)" -- purge ro.txt
[ "$(cat ro.txt)" == "ro" ] || fail "the refused read-only file was changed"
expect 0 "ro.txt purged" -- purge ro.txt --read-only
[ ! -e ro.txt ] || fail "ro.txt still exists"

# Sensitive extensions need --sensitive.
printf 'MZ' > tool.EXE
expect 1 'tool.EXE: "exe" files are not purged.' -- purge tool.EXE
[ "$(cat tool.EXE)" == "MZ" ] || fail "the refused .EXE file was changed"
expect 0 "tool.EXE purged" -- purge tool.EXE --sensitive

# The program's own folder is protected.
own="$(dirname "$cli")/kexwell-cli-test-own-file.txt"
printf 'own' > "$own"
expect 1 "$own: a file in the current application folder, not purged." -- purge "$own"
[ "$(cat "$own")" == "own" ] || fail "a file beside the program was changed"
rm -f "$own"

# Usage errors: status 2 and nothing touched.
printf 'keep' > usage.txt
expect 2 "" -- purge usage.txt --type 4
expect 2 "" -- purge usage.txt --type 3 --passes 5
expect 2 "" -- purge usage.txt --passes 0
expect 2 "" -- purge usage.txt --passes many
expect 2 "" -- purge
expect 2 "" --
expect 2 "" -- shred usage.txt
[ "$(cat usage.txt)" == "keep" ] || fail "a usage error touched the file"
"$cli" purge --type 3 --passes 5 usage.txt 2>&1 >/dev/null | grep -q 'type 3 offers 1 to 4 passes' ||
  fail "the passes error does not say what the type offers"

# Help explains and succeeds.
"$cli" --help | grep -q 'kexwell-cli purge FILE' || fail "--help does not show the purge command"
"$cli" purge --help | grep -q -- '--keep' || fail "purge --help does not list --keep"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all command-line checks passed"

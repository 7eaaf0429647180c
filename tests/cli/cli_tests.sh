#!/usr/bin/env bash
# Tries kexwell-cli as a user runs it: exit statuses, messages on standard error, report lines on
# standard output, and the bytes left on disk.
# Usage: cli_tests.sh PATH/TO/kexwell-cli
set -u
cli=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
# Stored values (the measured purge speeds) go to a store of this test's own.
export XDG_CONFIG_HOME="$work/config"

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run ARGS...: runs the command without a terminal (never longer than 30 s); sets $rc, $out, $err.
run() {
  timeout 30 "$cli" "$@" </dev/null >out.txt 2>err.txt
  rc=$?
  out=$(cat out.txt)
  err=$(cat err.txt)
}

expect_rc() { [ "$rc" -eq "$1" ] || fail "kexwell-cli $2: exit status $rc, expected $1 (stderr: $err)"; }
expect_out() { grep -qxF -- "$1" out.txt || fail "$2: no line [$1] in the report:"$'\n'"$out"; }
expect_err() { grep -qF -- "$1" err.txt || fail "$2: no [$1] on standard error: $err"; }

# A folder purged with subfolders: the files go, the emptied subfolder goes, the top stays.
mkdir -p tree/sub
printf 'account 1234' > tree/a.txt
head -c 5000 /dev/urandom > tree/sub/b.dat
run purge tree -r -y
expect_rc 0 "purge tree -r -y"
expect_out "a.txt (12 bytes) purged" "purge tree"
expect_out "b.dat (5,000 bytes) purged" "purge tree"
expect_out "Folder $work/tree/sub removed." "purge tree"
expect_out "Number of files purged: 2" "purge tree"
expect_err "Are you sure that you want to purge both files in" "purge tree"
[ -d tree ] && [ -z "$(ls -A tree)" ] || fail "tree is not an empty folder after its purge"
grep -q 'Delete folder' err.txt && fail "purge -y asked whether to delete the emptied folder: $err"
# Nor on a terminal that never answers: -y reads nothing.
mkdir -p asks/sub && printf 'x' > asks/sub/a.txt
timeout 20 script -qec "'$cli' purge '$work/asks' -r -y" /dev/null < <(sleep 15) > tty-y.txt
rc=$?
[ $rc -eq 0 ] && [ -d asks ] && [ -z "$(ls -A asks)" ] && ! grep -qF '[y]es' tty-y.txt ||
  fail "purge -r -y on a terminal: status $rc, asks: [$(ls -A asks)], asked: $(grep -F '[y]es' tty-y.txt)"
# --remove-target-folder removes the emptied target without asking.
mkdir -p gone/sub && printf 'x' > gone/sub/a.txt
run purge gone -r -y --remove-target-folder
expect_rc 0 "purge gone -r -y --remove-target-folder"
[ -e gone ] && fail "the emptied target folder was kept despite --remove-target-folder"

# Names with any characters: blanks, a line break, control characters, bytes that are not UTF-8.
mkdir odd
odd_name=$'  odd name\n\x01\xff\xfe.txt'
printf 'odd' > "odd/$odd_name"
printf 'also' > 'odd/*?:.txt'
printf 'back' > 'odd/back\slash'
run purge odd -y
expect_rc 0 "purge odd"
# "*", "?", ":" and "\" in a name are characters like any other: "*.*" takes those files too.
expect_out '*?:.txt (4 bytes) purged' "purge odd"
expect_out 'back\slash (4 bytes) purged' "purge odd"
[ -z "$(ls -A odd)" ] || fail "odd names: left behind [$(ls -A odd)]"

# A PATH that names an existing file is that file, "*", "?" and "\" in its name included; a name
# of no file is a pattern.
mkdir wild
for name in a.txt b.txt '?.txt' '*.*' 'back\slash.txt'; do printf 'abc' > "wild/$name"; done
for name in '?.txt' '*.*' 'back\slash.txt'; do
  run purge "wild/$name" -y
  expect_rc 0 "purge wild/$name"
  expect_err "Are you sure that you want to purge the file" "purge wild/$name"
  expect_out "Purging files $work/wild/$name " "purge wild/$name"
  expect_out "$name (3 bytes) purged" "purge wild/$name"
  expect_out "Number of files: 1" "purge wild/$name"
  [ ! -e "wild/$name" ] || fail "purge wild/$name left the file"
done
[ "$(ls wild | tr '\n' ' ')" == "a.txt b.txt " ] || fail "named files purged others: [$(ls wild)]"
run purge 'wild/?.txt' -y
expect_out "Number of files ?.txt: 2" "purge wild/?.txt once no such file exists"
[ -z "$(ls -A wild)" ] || fail "the pattern ?.txt left [$(ls -A wild)]"

# Case is ignored in every script where a pattern is given, never where a name is.
mkdir cases
for name in 'ž.txt' 'Кот.txt' 'кит.txt' 'Σ.doc' '𐐀.txt'; do printf 'abc' > "cases/$name"; done
for case in 'Ž*.TXT:ž.txt' 'кот*.txt:Кот.txt' 'σ.*:Σ.doc' '𐐨.*:𐐀.txt'; do
  run list cases -f "${case%%:*}"
  expect_rc 0 "list cases -f ${case%%:*}"
  grep -q "^${case#*:} (" out.txt || fail "list -f ${case%%:*} did not list ${case#*:}: $out"
  expect_out "Number of files ${case%%:*}: 1" "list cases -f ${case%%:*}"
done
run purge cases -f 'КОТ.txt' -y
expect_rc 2 "purge a name in other capitals"
expect_err "File КОТ.txt not found." "purge a name in other capitals"
run purge cases -f 'К?Т.*' -y
expect_rc 0 "purge cases -f К?Т.*"
expect_out "Кот.txt (3 bytes) purged" "purge cases -f К?Т.*"
expect_out "кит.txt (3 bytes) purged" "purge cases -f К?Т.*"
[ "$(ls cases | sort | tr '\n' ' ')" == "$(printf '%s\n' 'ž.txt' 'Σ.doc' '𐐀.txt' | sort | tr '\n' ' ')" ] ||
  fail "purge -f К?Т.* left [$(ls cases)]"

# Without --yes and without a terminal the answer is No: nothing is purged.
printf 'keep' > safe.txt
run purge safe.txt
expect_rc 1 "purge safe.txt without --yes"
expect_err "No files purged." "purge without --yes"
[ "$(cat safe.txt)" == "keep" ] || fail "safe.txt was changed without a confirmation"

# Several paths: each checked and counted, one question for all of them, one report with a part
# per path, and the worst exit status (a path not found: 2).
mkdir -p parts/d && printf 'one' > parts/a.txt && printf 'two' > parts/b.txt && printf 'x' > parts/d/x.dat
run purge parts/a.txt parts/d
expect_rc 1 "purge of two paths without --yes"
[ "$(grep -c 'Are you sure' err.txt)" -eq 2 ] && [ "$(grep -c 'taken as No' err.txt)" -eq 1 ] ||
  fail "two paths: not one confirmation of each and one question: $err"
run purge parts/a.txt parts/missing.txt parts/d -y
expect_rc 2 "purge of three paths, one not found"
expect_err "File missing.txt not found." "purge of three paths"
[ "$(grep -c '^Number of files' out.txt)" -eq 2 ] && [ ! -e parts/a.txt ] && [ ! -e parts/d/x.dat ] &&
  [ "$(cat parts/b.txt)" == two ] || fail "three paths: a.txt and d/x.dat purged, b.txt kept: $out"
printf 'x' > parts/d/x.dat
touch -d '2020-03-04 12:00' parts/b.txt parts/d/x.dat
run list parts parts/d
expect_rc 0 "list of two folders"
expect_out "b.txt (03/04/2020, 3 bytes)" "list of two folders"
expect_out "x.dat (03/04/2020, 1 bytes)" "list of two folders"

# The report goes out line by line while the purge goes on (every flush slowed down here), and
# what a pipe receives is the whole report, byte for byte.
if command -v strace >/dev/null; then
  mkdir live && printf 'first' > live/a.txt && printf 'second' > live/b.txt
  mkfifo live.pipe
  timeout 60 strace -f -qq -o /dev/null -e inject=fsync:delay_exit=100000 \
    "$cli" purge live -p 9 -y </dev/null >live.pipe 2>/dev/null &
  pid=$!
  exec 3<live.pipe
  while IFS= read -r -t 30 line <&3; do
    printf '%s\n' "$line" >> piped.txt
    if [[ "$line" == *" bytes) purged" ]]; then
      [ -e live/a.txt ] || [ -e live/b.txt ] ||
        fail "the line of the first file came only after the second file was purged"
      break
    fi
  done
  cat <&3 >> piped.txt
  exec 3<&-
  wait $pid || fail "the slowed-down purge of live ended with status $?"
  sed -E 's#^[0-9]{2}/[0-9]{2}/[0-9]{4}, [0-9:]{8}$#DATE#' piped.txt > piped-dated.txt
  # The files come in the folder's own order.
  first="a.txt (5 bytes) purged" second="b.txt (6 bytes) purged"
  grep -qx "$first" <(sed -n 6p piped.txt) || { first=$second second="a.txt (5 bytes) purged"; }
  printf '%s\n' DATE "Purging all files in $work/live/" "using random bytes plus zeros 9 times." "" \
    "$work/live/" "$first" "$second" "" "Number of files *.*: 2" \
    "Number of files purged: 2" "Sum of sizes of files purged: 11 bytes" "" DATE > expected.txt
  cmp -s piped-dated.txt expected.txt || fail "the piped report differs: $(diff expected.txt piped-dated.txt)"
  # On a terminal the file being purged is drawn in place until its line is final.
  printf 'first' > live/a.txt
  timeout 30 script -qec "'$cli' purge '$work/live' -p 3 -y 2>/dev/null" /dev/null > tty.txt
  grep -qF $'a.txt (5 bytes) purging\r' tty.txt || fail "no line drawn in place on a terminal"
fi

# A kept file: type 2 ends with zeros over its length, and its modification time comes back.
head -c 5000 /dev/urandom > kept.dat
touch -d '2001-02-03 04:05:06.123456789' kept.dat ref
run purge kept.dat -t 2 -p 1 --keep -y
expect_rc 0 "purge kept.dat --keep"
expect_out "Purged files not deleted." "purge --keep"
head -c 5000 /dev/zero > zeros
cmp -s kept.dat zeros || fail "kept.dat does not hold 5000 zero bytes"
[ "$(stat -c %y kept.dat)" == "$(stat -c %y ref)" ] || fail "kept.dat lost its modification time"

# A link named on its own is reported, and its target stays as it was.
printf 'precious' > target
ln -s target link
run purge link -y
expect_rc 1 "purge link"
expect_out "link (6 bytes): not a regular file, not purged." "purge link"
[ "$(cat target)" == "precious" ] && [ -L link ] || fail "the link or its target was changed"

# A pipe is never opened, so the command does not hang.
mkfifo pipe
run purge pipe -y
expect_rc 1 "purge pipe"
expect_out "pipe (0 bytes): not a regular file, not purged." "purge pipe"

# Sensitive extensions are asked about; without a terminal the answer is No.
mkdir tools
printf 'MZ' > tools/setup.exe
run purge tools -y
expect_rc 1 "purge tools"
expect_out 'setup.exe: "exe" files are not purged.' "purge tools"
expect_err "Purge query: " "purge tools"
run purge tools -y --sensitive
expect_rc 0 "purge tools --sensitive"

# The date restriction: only files dated before the day are purged.
mkdir dated
printf 'old' > dated/old.txt
printf 'new' > dated/new.txt
touch -d '2005-01-01 12:00' dated/old.txt
run purge dated -b 2010-01-01 -y
expect_rc 0 "purge dated -b"
[ ! -e dated/old.txt ] && [ "$(cat dated/new.txt)" == "new" ] || fail "the date restriction was not kept"
run purge dated/new.txt -b 2010-01-01 -y
expect_rc 2 "purge a file excluded by the date"
expect_err "and so is excluded by the current date restriction." "purge new.txt -b"

# Messages before a run go to standard error with status 2.
run purge nowhere/ -y
expect_rc 2 "purge a missing folder"
expect_err "Error: Folder does not exist." "purge nowhere/"
run purge missing.txt -y
expect_rc 2 "purge a missing file"
expect_err "File missing.txt not found." "purge missing.txt"
mkdir empty
run purge empty -f '*.doc' -y
expect_rc 2 "purge an empty folder"
expect_err "There are no files in $work/empty/ matching *.doc." "purge empty"

# A listing touches nothing and estimates.
mkdir listed
printf '12345' > listed/a.txt
run list listed
expect_rc 0 "list listed"
expect_out "Number of files *.*: 1" "list listed"
expect_out "For an estimate of the purge time test the purge speed for Drive $(df --output=target listed | tail -1) then relist." "list listed"
[ "$(cat listed/a.txt)" == "12345" ] || fail "a listing changed a file"

# The speed test measures the drive, stores the speed, and leaves no dummy files behind. The store
# holds another drive's speed and lines the program does not understand: they stay byte for byte,
# and the tested drive's section is added at the end.
root=$(df --output=target . | tail -1)
store="$XDG_CONFIG_HOME/Kexwell/registry.ini"
mkdir -p "$XDG_CONFIG_HOME/Kexwell"
printf '# edited by hand\n[Software\\\\Kexwell\\\\Kexwell\\\\/kx_other]\nSpeed=3.5\nno equals sign\n\377\376\000=binary\n' >store.before
cp store.before "$store"
run speed-test . -y
expect_rc 0 "speed-test . -y"
grep -qE "^[0-9,.]+ MB/sec\. \(1 overwrite\) for Drive $root\.\$" out.txt || fail "speed-test printed [$out]"
ls -d "$root"/_kx_dummy* "$HOME"/_kx_dummy* 2>/dev/null && fail "dummy folders were left behind"
stored=$(tail -n 1 "$store")
{ cat store.before; printf '\n[Software\\\\Kexwell\\\\Kexwell\\\\%s]\n%s\n' "$root" "$stored"; } >store.expected
[[ $stored =~ ^Speed=[0-9]+(\.[0-9]+)?$ ]] && cmp -s store.expected "$store" ||
  fail "the store after speed-test: $(od -c "$store")"
run list listed
expect_out "Estimated purge time: less than a minute." "list with a measured speed"
run speed-test .
expect_rc 1 "speed-test without a terminal"
expect_err "(No terminal to answer on: taken as No.)" "speed-test without a terminal"
# A store that cannot be written (its folder is a file): the speed is still measured and printed,
# and the failure is told with the store's path and the system's reason.
printf 'a file' >config.file
XDG_CONFIG_HOME="$work/config.file" run speed-test . -y
expect_rc 1 "speed-test with a store that cannot be written"
grep -qE "^[0-9,.]+ MB/sec\. \(1 overwrite\) for Drive $root\.\$" out.txt || fail "speed-test printed [$out]"
expect_err "Test purge speed: The purge speed of Drive $root could not be stored in $work/config.file/Kexwell/registry.ini (Not a directory)." "speed-test with a store that cannot be written"

# The free space is purged only when the question is answered (never here: it would fill the
# drive); the question names the drive, its free space, the type and the time at the stored speed.
run purge-free-space listed -t 2 -p 1
expect_rc 1 "purge-free-space without a terminal"
for line in "This fills the free space of Drive $root" "Type of purge: Alternate bit patterns plus zeros, once (= 3 overwrites)" \
            "Estimated time: about " "Purge cancelled: The free space was not purged."; do
  expect_err "$line" "purge-free-space without a terminal"
done
[ "$(ls -A listed)" == a.txt ] || fail "purge-free-space without an answer left [$(ls -A listed)]"
run purge-free-space listed/a.txt -y
expect_rc 2 "purge-free-space of a file"
expect_err 'PATH: "listed/a.txt" is not a folder' "purge-free-space of a file"
run purge-free-space listed -t 2 -p 9 -y
expect_rc 2 "purge-free-space -p 9 of type 2"
expect_err "--passes: type 2 offers 1 to 8 passes" "purge-free-space -p 9"
# A dummy folder that an interrupted purge of free space left is removed at the next start of any
# command, when it holds the program's marker; a folder of the same name without it stays.
mkdir -p left/_kx_dummy1 left/_kx_dummy2
printf 'fill' > left/_kx_dummy1/_kx_dummy1
printf 'Kexwell fills the free space of this drive with the files of this folder.\r\nKexwell removes the folder when the purge ends, or at its next start.\r\n' \
  > left/_kx_dummy1/_kx_dummy.kexwell
printf 'mine' > left/_kx_dummy2/_kx_dummy1
printf '%s\n' "$work/left/_kx_dummy1" "$work/left/_kx_dummy2" > "$XDG_CONFIG_HOME/Kexwell/fill-folders.txt"
run list listed
expect_err "The fill files that an interrupted purge of free space left in $work/left/_kx_dummy1 were deleted." "the start after a crash"
[ "$(ls -A left)" == _kx_dummy2 ] && [ "$(cat left/_kx_dummy2/_kx_dummy1)" == mine ] ||
  fail "the start after a crash left [$(ls -AR left)]"
[ -s "$XDG_CONFIG_HOME/Kexwell/fill-folders.txt" ] && fail "the removed folders are still listed"

# Operation files: saved from the command line, exactly; loaded with the command line winning.
mkdir -p op/sub
printf 'keep me' > op/a.doc
printf 'go' > op/sub/b.txt
run purge op/ -f '*.txt' -r -t 3 -p 1 --keep --hard-linked -b 2030-01-02 --save-setup op.kxs
expect_rc 0 "--save-setup"
printf '0.15\r\n 1\r\n%s\r\n*.txt\r\n 2\r\n 1\r\n 0\r\n 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 0\r\n 2462504\r\n 1\r\n' "$work/op/" > expected.kxs
cmp -s op.kxs expected.kxs || fail "the saved operation file differs: $(od -c op.kxs | head -5)"
[ "$(cat op/sub/b.txt)" == "go" ] || fail "--save-setup purged something"
run purge --setup op.kxs -y
expect_rc 0 "purge --setup"
expect_out "b.txt (2 bytes) purged" "purge --setup"
expect_out "Purged files not deleted." "purge --setup keeps"
[ "$(cat op/a.doc)" == "keep me" ] || fail "a file outside the operation file's pattern was touched"
run purge --setup op.kxs -f '*.doc' -y
expect_rc 0 "purge --setup -f"
expect_out "a.doc (7 bytes) purged" "the command line's file specification wins"
run purge --setup nope.kxs -y
expect_rc 2 "a missing operation file"
expect_err "File nope.kxs not found!" "a missing operation file"
printf 'not a setup\r\n' > bad.kxs
run list --setup bad.kxs
expect_rc 2 "a damaged operation file"
expect_err "Error when attempting to load setup from file bad.kxs!" "a damaged operation file"

# Usage errors: status 2.
for args in "purge tree --type 4" "purge tree --type 3 --passes 5" "purge tree --before 2010-02-30" \
            "purge safe.txt --files *.txt" "list" "shred tree" ""; do
  run $args
  expect_rc 2 "$args"
done
run purge tree --type 3 --passes 5
expect_err "type 3 offers 1 to 4 passes" "passes error"
# A day that the date dialog refuses is refused with the dialog's words, and a day must be written
# as YYYY-MM-DD.
mkdir earliest && printf 'x' > earliest/a.txt
for case in '1979-12-31:: Year too early' '3000-01-01:: Year too late' '2010-02-30:: Date is invalid' \
            '2024-1-1: is not a date of the form YYYY-MM-DD' '99999-01-01: is not a date of the form YYYY-MM-DD'; do
  run list earliest --before "${case%%:*}"
  expect_rc 2 "list --before ${case%%:*}"
  expect_err "--before: \"${case%%:*}\"${case#*:}" "list --before ${case%%:*}"
done
run list earliest --before 1980-01-01
expect_rc 0 "list --before 1980-01-01, the earliest day the dialog takes"
ln -s earliest link-to-folder
for args in "purge link-to-folder -r" "list link-to-folder -f a.txt"; do
  run $args
  expect_rc 2 "$args"
  expect_err 'PATH: "link-to-folder" is a link, which is never followed; name the folder it leads to' "$args"
done
# A setup never replaces one of the program's own files.
own_texts="$(dirname "$cli")/kexwell.dat"
if [ -f "$own_texts" ]; then
  sum=$(cksum <"$own_texts")
  run list earliest --save-setup "$own_texts"
  expect_rc 2 "--save-setup over the program texts"
  expect_err "it is one of the program's own files!" "--save-setup over the program texts"
  [ "$(cksum <"$own_texts")" == "$sum" ] || fail "--save-setup changed the program texts"
fi
for option in --type --passes; do
  run list earliest "$option" x1
  expect_rc 2 "list $option x1"
  expect_err "$option: \"x1\" is not a whole number" "list $option x1"
done

# A file with another name outside the target: refused unless --hard-linked; then the other name
# keeps the overwritten file at its former length.
mkdir linked
printf 'shared secret' > linked/h.txt
ln linked/h.txt outside-name.txt
run purge linked -y
expect_rc 1 "purge of a hard-linked file"
expect_err "This file has other names (hard links)" "hard-link confirmation"
expect_out "h.txt (13 bytes): has 1 other name (hard link), not purged." "hard-linked refused"
[ "$(cat outside-name.txt)" == "shared secret" ] || fail "a refused hard-linked file was changed"
run purge linked -y --hard-linked
expect_rc 0 "purge --hard-linked"
expect_out "h.txt (13 bytes) purged (1 other name keeps the overwritten file)" "hard-linked purged"
[ ! -e linked/h.txt ] && [ "$(head -c 13 /dev/zero | cmp - outside-name.txt && echo same)" == same ] ||
  fail "the other name does not hold 13 zero bytes"

# A file system mounted under the target is another disk: reported, never entered, and the run
# did not purge everything.
if [ "$(id -u)" -eq 0 ] && command -v mkfs.ext4 >/dev/null; then
  mkdir -p mounted/disk
  printf 'outer' > mounted/a.txt
  truncate -s 8M disk.img
  if mkfs.ext4 -q -F disk.img >/dev/null 2>&1 && mount -o loop disk.img mounted/disk 2>/dev/null; then
    printf 'on the other disk' > mounted/disk/inner.txt
    run purge mounted -r -y
    inner=$(cat mounted/disk/inner.txt)
    umount mounted/disk
    expect_rc 1 "purge over a mount point"
    expect_out "$work/mounted/disk/ (folder): another file system, not entered." "mount point"
    expect_out "Number of folders not purged: 1" "mount point"
    [ "$inner" == "on the other disk" ] || fail "the mounted file system was written: [$inner]"
    [ ! -e mounted/a.txt ] || fail "the file beside the mount point was not purged"
  else
    echo "skipped: this machine refuses loop mounts"
  fi
else
  echo "skipped: loop mounts need root and mkfs.ext4"
fi

# A target in memory (tmpfs) is warned about on standard error before the question, and after
# a listing's estimate; a listing of the folder that holds the mount point is not.
if [ "$(id -u)" -eq 0 ]; then
  mkdir -p outer/ram
  printf 'outer' > outer/a.txt
  if mount -t tmpfs -o size=1m tmpfs outer/ram 2>/dev/null; then
    warning="$work/outer/ram (tmpfs) keeps its files in memory, which the system may have written \
to swap, so copies of the data may remain on the swap device."
    printf 'in memory' > outer/ram/m.txt
    run purge outer/ram/m.txt
    expect_rc 1 "purge on tmpfs without --yes"
    [ "$(grep -nxF -- "kexwell-cli: warning: $warning" err.txt | cut -d: -f1)" == \
      "$(($(grep -nF 'This will permanently destroy all data in this file.' err.txt |
        cut -d: -f1) + 1))" ] &&
      [ "$(grep -c 'kexwell-cli: warning: ' err.txt)" -eq 1 ] &&
      [ "$(tail -n 2 err.txt | head -n 1)" == "(No terminal to answer on, and no --yes: taken as No.)" ] ||
      fail "tmpfs: the warning is not the one line between the message and the question: $err"
    run list outer/ram
    expect_rc 0 "list on tmpfs"
    expect_out "$warning" "list on tmpfs"
    run purge outer/ram/m.txt -y
    expect_rc 0 "purge on tmpfs --yes"
    grep -qxF -- "kexwell-cli: warning: $warning" err.txt || fail "tmpfs --yes: no warning: $err"
    run list outer -r
    grep -qF -- "$work/outer/ram (tmpfs)" out.txt || grep -qF -- "Drive $work/outer/ram " out.txt &&
      fail "a listing took the drive of the mount point under its target: $out"
    umount outer/ram
  else
    echo "skipped: this machine refuses to mount a tmpfs"
  fi
else
  echo "skipped: mounting a tmpfs needs root"
fi

# A file system that refuses to say where a file's data lies, before the overwrite or halfway
# (the n-th FIEMAP query fails): never "purged" on a guess. The queries are found in a first run.
mkdir asked
printf 'where' > asked/w.txt
if strace -f -qq -e trace=ioctl -o trace.txt "$cli" purge asked -y </dev/null >out.txt 2>&1 &&
   grep -q FS_IOC_FIEMAP trace.txt; then
  mapfile -t queries < <(grep -n FS_IOC_FIEMAP trace.txt | cut -d: -f1)
  for case in "${queries[0]}:EOPNOTSUPP:0:w.txt (5 bytes) purged (not verified: the file system does not tell where a file's data lies)" \
              "${queries[1]}:EIO:1:w.txt (5 bytes): overwritten, but the file system did not say where the data lies; the old data may remain on the disk. (input/output error)"; do
    IFS=: read -r at error status line <<<"$case"
    printf 'where' > asked/w.txt
    timeout 30 strace -f -qq -o /dev/null -e trace=ioctl -e inject=ioctl:error="$error":when="$at" \
      "$cli" purge asked -y </dev/null >out.txt 2>err.txt
    rc=$? out=$(cat out.txt) err=$(cat err.txt)
    expect_rc "$status" "purge with the placement query failing ($error)"
    expect_out "$line" "placement query failing ($error)"
  done
else
  echo "skipped: strace cannot trace here, or the file system of $work does not tell where data lies"
fi

# SIGTERM and SIGHUP stop a purge after the pass at hand, and a second signal of any of these at
# its next write; the report is still written whole, and the file being purged is not deleted and
# gets back its length and times. The signals come after chosen writes of the 3 MB file (4 writes
# per overwrite, 3 overwrites per pass), found in a first run: the 14th, and the 14th and 15th.
make_signalled() {
  rm -rf signalled && mkdir -p signalled/sub
  printf 'account 1234' >signalled/a.txt
  head -c 3145828 /dev/zero | tr '\0' x >signalled/sub/big.dat
  touch -d '2001-02-03 04:05:06.123456789' signalled/sub/big.dat
  stat -c '%s %x %y' signalled/sub/big.dat
}
big=$(make_signalled)
if strace -qq -y -e trace=write -o trace.txt "$cli" purge signalled -r -t 2 -p 3 --keep -y \
     </dev/null >/dev/null 2>&1 && [ "$(grep -c '/big.dat>' trace.txt)" -eq 36 ]; then
  at=$(grep -n '/big.dat>' trace.txt | sed -n 14p | cut -d: -f1)
  for case in "TERM:$at:--keep:1:purge stopped after 2 of 3 passes; overwritten, not deleted." \
              "HUP:$at::1:purge stopped after 2 of 3 passes; overwritten, not deleted." \
              "INT:$at..$((at + 1)):--keep:130:purge stopped during pass 2 of 3; only partly overwritten, not deleted." \
              "TERM:$at..$((at + 1))::130:purge stopped during pass 2 of 3; only partly overwritten, not deleted."; do
    IFS=: read -r signal when keep status line <<<"$case"
    make_signalled >/dev/null
    timeout 30 strace -qq -o /dev/null -e trace=write -e inject=write:signal="$signal":when="$when" \
      "$cli" purge signalled -r -t 2 -p 3 $keep -y </dev/null >out.txt 2>err.txt
    rc=$? out=$(cat out.txt) err=$(cat err.txt)
    what="SIG$signal at write $when ${keep:-deleting}"
    expect_rc "$status" "$what"
    [ "$(stat -c '%s %x %y' signalled/sub/big.dat)" == "$big" ] ||
      fail "$what: big.dat was left as $(stat -c '%s %x %y' signalled/sub/big.dat), not $big"
    for expected in "a.txt (12 bytes) purged" "big.dat (3,145,828 bytes): $line" \
                    "Number of files purged: 1" "Purge operation was stopped."; do
      expect_out "$expected" "$what"
    done
    tail -n 1 out.txt | grep -qE ', [0-9]{2}:[0-9]{2}:[0-9]{2}$' || fail "$what: the report has no closing line"
  done
else
  echo "skipped: strace cannot trace here"
fi

"$cli" --help | grep -q 'kexwell-cli purge PATH' || fail "--help does not show the purge command"
for command in purge list purge-free-space; do
  "$cli" "$command" --help | grep -qx 'Examples:' || fail "$command --help has no examples"
done
"$cli" --version | grep -qx 'kexwell-cli [0-9.]*' || fail "--version: $("$cli" --version)"
for option in --keep-empty-folders '--hard-linked *Purge files that have other names (hard links)'; do
  "$cli" purge --help | grep -q -- "$option" || fail "purge --help lacks [$option]"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all command-line checks passed"

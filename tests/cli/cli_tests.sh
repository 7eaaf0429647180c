#!/usr/bin/env bash
# Tries kexwell-cli as a user runs it: exit statuses, messages on standard error, report lines on
# standard output, and the bytes left on disk. The report texts themselves are the core tests'.
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

# run ARGS...: runs the command without a terminal (never longer than 30 s), under strace with the
# options in $traced if it is set; sets $rc, $out, $err.
run() {
  timeout 30 ${traced:+strace -f -qq -o /dev/null $traced} "$cli" "$@" </dev/null >out.txt 2>err.txt
  rc=$? out=$(cat out.txt) err=$(cat err.txt)
}
# expect STATUS WHAT LINE...: the exit status is STATUS and each LINE is a line of the report; a
# LINE "err:TEXT" is a TEXT on standard error instead.
expect() {
  local status=$1 what=$2 line
  shift 2
  [ "$rc" -eq "$status" ] || fail "$what: exit status $rc, expected $status (stderr: $err)"
  for line; do
    if [[ $line == err:* ]]; then
      grep -qF -- "${line#err:}" err.txt || fail "$what: no [${line#err:}] on standard error: $err"
    else
      grep -qxF -- "$line" out.txt || fail "$what: no line [$line] in the report:"$'\n'"$out"
    fi
  done
}
# check "ARGS" STATUS LINE...: runs kexwell-cli with ARGS (split at blanks, never globbed), then
# expects as expect does.
check() {
  local -a args
  read -r -a args <<<"$1"
  run "${args[@]}"
  expect "$2" "kexwell-cli $1" "${@:3}"
}
# put FILE TEXT [FILE TEXT]...: writes each TEXT to its FILE, making the folders on the way.
put() {
  while [ $# -gt 1 ]; do mkdir -p "$(dirname "$1")" && printf '%s' "$2" >"$1"; shift 2; done
}

# A folder purged with subfolders: the files go, the emptied subfolder goes, the top stays, and -y
# asks nothing, not even whether to delete the emptied folder.
put tree/a.txt 'account 1234' tree/sub/b.dat "$(printf '%05000d' 0)"
check "purge tree -r -y" 0 "a.txt (12 bytes) purged" "b.dat (5,000 bytes) purged" \
  "Folder $work/tree/sub removed." "Number of files purged: 2" "err:Are you sure that you want to purge both files in"
[ -d tree ] && [ -z "$(ls -A tree)" ] && ! grep -q 'Delete folder' err.txt ||
  fail "tree is not an empty folder after its purge, or -y asked whether to delete it: $err"
# Nor on a terminal that never answers: -y reads nothing.
put asks/sub/a.txt x
timeout 20 script -qec "'$cli' purge '$work/asks' -r -y" /dev/null < <(sleep 15) > tty-y.txt
rc=$?
[ $rc -eq 0 ] && [ -d asks ] && [ -z "$(ls -A asks)" ] && ! grep -qF '[y]es' tty-y.txt ||
  fail "purge -r -y on a terminal: status $rc, asks: [$(ls -A asks)], asked: $(grep -F '[y]es' tty-y.txt)"
put gone/sub/a.txt x
check "purge gone -r -y --remove-target-folder" 0
[ -e gone ] && fail "the emptied target folder was kept despite --remove-target-folder"

# A PATH that names an existing file is that file, "*", "?", "\", control characters and bytes that
# are not UTF-8 in its name included; a name of no file is a pattern.
mkdir wild
odd_name=$'  odd name\x01\xff\xfe.txt'
for name in a.txt b.txt '?.txt' '*.*' 'back\slash.txt' "$odd_name"; do printf 'abc' > "wild/$name"; done
for name in '?.txt' '*.*' 'back\slash.txt' "$odd_name"; do
  run purge "wild/$name" -y
  expect 0 "purge wild/$name" "Purging files $work/wild/$name " "$name (3 bytes) purged" "Number of files: 1" \
    "err:Are you sure that you want to purge the file"
done
[ "$(ls wild | tr '\n' ' ')" == "a.txt b.txt " ] || fail "named files purged others: [$(ls wild)]"
check "purge wild/?.txt -y" 0 "Number of files ?.txt: 2"
[ -z "$(ls -A wild)" ] || fail "the pattern ?.txt left [$(ls -A wild)]"

# Without --yes and without a terminal the answer is No: nothing is purged.
put safe.txt keep
check "purge safe.txt" 1 "err:No files purged." "err:(No terminal to answer on, and no --yes: taken as No.)"
[ "$(cat safe.txt)" == "keep" ] || fail "safe.txt was changed without a confirmation"

# Several paths: each checked and counted, one question for all of them, one report with a part
# per path, and the worst exit status (a path not found: 2).
put parts/a.txt one parts/b.txt two parts/d/x.dat x
check "purge parts/a.txt parts/d" 1
[ "$(grep -c 'Are you sure' err.txt)" -eq 2 ] && [ "$(grep -c 'taken as No' err.txt)" -eq 1 ] ||
  fail "two paths: not one confirmation of each and one question: $err"
check "purge parts/a.txt parts/missing.txt parts/d -y" 2 "err:File missing.txt not found."
[ "$(grep -c '^Number of files' out.txt)" -eq 2 ] && [ ! -e parts/a.txt ] && [ ! -e parts/d/x.dat ] &&
  [ "$(cat parts/b.txt)" == two ] || fail "three paths: a.txt and d/x.dat purged, b.txt kept: $out"
put parts/d/x.dat x
touch -d '2020-03-04 12:00' parts/b.txt parts/d/x.dat
check "list parts parts/d" 0 "b.txt (03/04/2020, 3 bytes)" "x.dat (03/04/2020, 1 bytes)"

# The report goes out line by line while the purge goes on (every flush slowed down here), and
# what a pipe receives is the whole report, byte for byte.
if command -v strace >/dev/null; then
  put live/a.txt first live/b.txt second
  mkfifo live.pipe
  timeout 60 strace -f -qq -o /dev/null -e inject=fsync:delay_exit=100000 \
    "$cli" purge live -p 9 -y </dev/null >live.pipe 2>/dev/null &
  pid=$!
  exec 3<live.pipe
  while IFS= read -r -t 30 line <&3; do
    printf '%s\n' "$line" >> piped.txt
    if [[ "$line" == *" bytes) purged" ]]; then
      [ -e live/a.txt ] || [ -e live/b.txt ] || fail "the line of the first file came only after the second was purged"
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

# A link or a pipe named on its own is reported and never opened: the target stays, nothing hangs.
put target precious
ln -s target link
mkfifo pipe
for case in link:6 pipe:0; do check "purge ${case%:*} -y" 1 "${case%:*} (${case#*:} bytes): not a regular file, not purged."; done
[ "$(cat target)" == "precious" ] && [ -L link ] || fail "the link or its target was changed"

# Sensitive extensions are asked about; without a terminal the answer is No.
put tools/setup.exe MZ
check "purge tools -y" 1 'setup.exe: "exe" files are not purged.' "err:Purge query: "
check "purge tools -y --sensitive" 0

# A listing touches nothing and estimates from the drive's speed, which the speed test measures and
# stores, leaving no dummy files behind. The store holds another drive's speed and lines the
# program does not understand: they stay byte for byte, and the tested drive's section is added.
put listed/a.txt 12345
root=$(df --output=target . | tail -1)
check "list listed" 0 "Number of files *.*: 1" \
  "For an estimate of the purge time test the purge speed for Drive $(df --output=target listed | tail -1) then relist."
store="$XDG_CONFIG_HOME/Kexwell/registry.ini"
printf '# edited by hand\n[Software\\\\Kexwell\\\\Kexwell\\\\/kx_other]\nSpeed=3.5\nno equals sign\n\377\376\000=binary\n' >store.before
install -D store.before "$store"
speed_line="^[0-9,.]+ MB/sec\. \(1 overwrite\) for Drive $root\.\$"
check "speed-test . -y" 0
grep -qE "$speed_line" out.txt || fail "speed-test printed [$out]"
ls -d "$root"/_kx_dummy* "$HOME"/_kx_dummy* 2>/dev/null && fail "dummy folders were left behind"
stored=$(tail -n 1 "$store")
{ cat store.before; printf '\n[Software\\\\Kexwell\\\\Kexwell\\\\%s]\n%s\n' "$root" "$stored"; } >store.expected
[[ $stored =~ ^Speed=[0-9]+(\.[0-9]+)?$ ]] && cmp -s store.expected "$store" ||
  fail "the store after speed-test: $(od -c "$store")"
check "list listed" 0 "Estimated purge time: less than a minute."
check "speed-test ." 1 "err:(No terminal to answer on: taken as No.)"
# A store that cannot be written (its folder is a file): the speed is still measured and printed,
# and the failure is told with the store's path and the system's reason.
printf 'a file' >config.file
XDG_CONFIG_HOME="$work/config.file" check "speed-test . -y" 1 \
  "err:Test purge speed: The purge speed of Drive $root could not be stored in $work/config.file/Kexwell/registry.ini (Not a directory)."
grep -qE "$speed_line" out.txt || fail "speed-test printed [$out]"

# The free space is purged only when the question is answered (never here: it would fill the
# drive); the question names the drive, its free space, the type and the time at the stored speed.
check "purge-free-space listed -t 2 -p 1" 1 "err:This fills the free space of Drive $root" \
  "err:Type of purge: Alternate bit patterns plus zeros, once (= 3 overwrites)" "err:Estimated time: about " \
  "err:Purge cancelled: The free space was not purged."
[ "$(ls -A listed)" == a.txt ] && [ "$(cat listed/a.txt)" == 12345 ] ||
  fail "the listings or purge-free-space without an answer changed listed: [$(ls -A listed)]"

# Operation files: saved from the command line, exactly; loaded with the command line winning.
put op/a.doc 'keep me' op/sub/b.txt go
check "purge op/ -f *.txt -r -t 3 -p 1 --keep --hard-linked -b 2030-01-02 --save-setup op.kxs" 0
printf '0.15\r\n 1\r\n%s\r\n*.txt\r\n 2\r\n 1\r\n 0\r\n 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 0\r\n 2462504\r\n 1\r\n' "$work/op/" > expected.kxs
cmp -s op.kxs expected.kxs || fail "the saved operation file differs: $(od -c op.kxs | head -5)"
[ "$(cat op/sub/b.txt)" == "go" ] || fail "--save-setup purged something"
check "purge --setup op.kxs -y" 0 "b.txt (2 bytes) purged" "Purged files not deleted."
[ "$(cat op/a.doc)" == "keep me" ] || fail "a file outside the operation file's pattern was touched"
check "purge --setup op.kxs -f *.doc -y" 0 "a.doc (7 bytes) purged"
# A setup never replaces one of the program's own files.
own_texts="$(dirname "$cli")/kexwell.dat"
sum=$(cksum <"$own_texts")
check "list listed --save-setup $own_texts" 2 "err:it is one of the program's own files!"
[ "$(cksum <"$own_texts")" == "$sum" ] || fail "--save-setup changed the program texts"

# Usage errors and messages before a run: status 2, and the reason on standard error. A day that
# the date dialog refuses is refused with the dialog's words; 1980-01-01 is the earliest it takes.
put cases/Кот.txt abc bad.kxs $'not a setup\r\n'
ln -s listed link-to-folder
while IFS='|' read -r args text; do check "$args" 2 "err:$text"; done <<EOF
|kexwell-cli: a command is required
shred tree|kexwell-cli: The following arguments were not expected: tree shred
list|PATH is required
purge tree --type 4|--type: Value 4 not in range 1 to 3
purge tree --type 3 --passes 5|--passes: type 3 offers 1 to 4 passes
purge safe.txt --files *.txt|--files: PATH must be a folder
list listed --type x1|--type: "x1" is not a whole number
list listed --before 1979-12-31|--before: "1979-12-31": Year too early
list listed --before 3000-01-01|--before: "3000-01-01": Year too late
list listed --before 2010-02-30|--before: "2010-02-30": Date is invalid
list listed --before 2024-1-1|--before: "2024-1-1" is not a date of the form YYYY-MM-DD
list listed --before 99999-01-01|--before: "99999-01-01" is not a date of the form YYYY-MM-DD
purge link-to-folder -r|PATH: "link-to-folder" is a link, which is never followed; name the folder it leads to
list link-to-folder -f a.txt|PATH: "link-to-folder" is a link, which is never followed; name the folder it leads to
purge cases -f КОТ.txt -y|File КОТ.txt not found.
purge --setup nope.kxs -y|File nope.kxs not found!
list --setup bad.kxs|Error when attempting to load setup from file bad.kxs!
purge-free-space listed/a.txt -y|PATH: "listed/a.txt" is not a folder
purge-free-space listed -t 2 -p 9 -y|--passes: type 2 offers 1 to 8 passes
list listed --passes x1|--passes: "x1" is not a whole number
EOF
# The last row is an error of the command line: the usage follows its message.
grep -qx 'Usage:' err.txt || fail "a usage error does not show the usage: $err"
check "list listed --before 1980-01-01" 0

# A file with another name outside the target: refused unless --hard-linked; then the other name
# keeps the overwritten file at its former length.
put linked/h.txt 'shared secret'
ln linked/h.txt outside-name.txt
check "purge linked -y" 1 "err:This file has other names (hard links)"
[ "$(cat outside-name.txt)" == "shared secret" ] || fail "a refused hard-linked file was changed"
check "purge linked -y --hard-linked" 0 "h.txt (13 bytes) purged (1 other name keeps the overwritten file)"
[ ! -e linked/h.txt ] && head -c 13 /dev/zero | cmp -s - outside-name.txt || fail "the other name does not hold 13 zero bytes"

# As root: a file system mounted under the target is another disk: reported, never entered, and
# the run did not purge everything. A target in memory (tmpfs) is warned about on standard error
# between the confirmation and the question, and after a listing's estimate; a listing of the
# folder that holds the mount point is not.
mkdir -p mounted/disk outer/ram
printf 'outer' > mounted/a.txt
truncate -s 8M disk.img
if [ "$(id -u)" -eq 0 ] && mkfs.ext4 -q -F disk.img >/dev/null 2>&1 && mount -o loop disk.img mounted/disk &&
   mount -t tmpfs -o size=1m tmpfs outer/ram; then
  printf 'on the other disk' > mounted/disk/inner.txt
  check "purge mounted -r -y" 1 "$work/mounted/disk/ (folder): another file system, not entered." \
    "Number of folders not purged: 1"
  [ "$(cat mounted/disk/inner.txt)" == "on the other disk" ] || fail "the mounted file system was written"
  [ ! -e mounted/a.txt ] || fail "the file beside the mount point was not purged"
  umount mounted/disk
  warning="$work/outer/ram (tmpfs) keeps its files in memory, which the system may have written \
to swap, so copies of the data may remain on the swap device."
  printf 'in memory' > outer/ram/m.txt
  check "purge outer/ram/m.txt" 1
  grep -v '^$' err.txt | grep -A2 -xF 'This will permanently destroy all data in this file.' | tail -n 2 >tmpfs.txt
  printf '%s\n' "kexwell-cli: warning: $warning" "(No terminal to answer on, and no --yes: taken as No.)" |
    cmp -s - tmpfs.txt && [ "$(grep -c 'kexwell-cli: warning: ' err.txt)" -eq 1 ] ||
    fail "tmpfs: the warning is not the one line between the message and the question: $err"
  check "list outer/ram" 0 "$warning"
  check "purge outer/ram/m.txt -y" 0 "err:kexwell-cli: warning: $warning"
  run list outer -r
  grep -qF -- "$work/outer/ram (tmpfs)" out.txt || grep -qF -- "Drive $work/outer/ram " out.txt &&
    fail "a listing took the drive of the mount point under its target: $out"
  umount outer/ram
else
  echo "skipped: the mount point and tmpfs cases need root, mkfs.ext4 and mounts"
  umount mounted/disk 2>/dev/null
fi

# A file system that refuses to say where a file's data lies, before the overwrite or halfway
# (the n-th FIEMAP query fails): never "purged" on a guess. The queries are found in a first run.
put asked/w.txt where
if strace -f -qq -e trace=ioctl -o trace.txt "$cli" purge asked -y </dev/null >out.txt 2>&1 &&
   grep -q FS_IOC_FIEMAP trace.txt; then
  mapfile -t queries < <(grep -n FS_IOC_FIEMAP trace.txt | cut -d: -f1)
  for case in "${queries[0]}:EOPNOTSUPP:0:w.txt (5 bytes) purged (not verified: the file system does not tell where a file's data lies)" \
              "${queries[1]}:EIO:1:w.txt (5 bytes): overwritten, but the file system did not say where the data lies; the old data may remain on the disk. (input/output error)"; do
    IFS=: read -r at error status line <<<"$case"
    printf 'where' > asked/w.txt
    traced="-e trace=ioctl -e inject=ioctl:error=$error:when=$at" run purge asked -y
    expect "$status" "purge with the placement query failing ($error)" "$line"
  done
else
  echo "skipped: strace cannot trace here, or the file system of $work does not tell where data lies"
fi

# SIGTERM and SIGHUP stop a purge after the pass at hand, and a second signal of any of these at
# its next write; the report is still written whole, and the file being purged is not deleted and
# gets back its length and times. The signals come after chosen writes of the 3 MB file (4 writes
# per overwrite, 3 overwrites per pass), found in a first run: the 14th, and the 14th and 15th.
make_signalled() {
  rm -rf signalled
  put signalled/a.txt 'account 1234' signalled/sub/big.dat "$(head -c 3145828 /dev/zero | tr '\0' x)"
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
    traced="-e trace=write -e inject=write:signal=$signal:when=$when" run purge signalled -r -t 2 -p 3 $keep -y
    what="SIG$signal at write $when ${keep:-deleting}"
    expect "$status" "$what" "a.txt (12 bytes) purged" "big.dat (3,145,828 bytes): $line" \
      "Number of files purged: 1" "Purge operation was stopped."
    [ "$(stat -c '%s %x %y' signalled/sub/big.dat)" == "$big" ] ||
      fail "$what: big.dat was left as $(stat -c '%s %x %y' signalled/sub/big.dat), not $big"
    tail -n 1 out.txt | grep -qE ', [0-9]{2}:[0-9]{2}:[0-9]{2}$' || fail "$what: the report has no closing line"
  done
else
  echo "skipped: strace cannot trace here"
fi

for case in ":kexwell-cli purge PATH" "purge:Examples:" "list:Examples:" "purge-free-space:Examples:" \
            "purge:--hard-linked *Purge files that have other names (hard links)"; do
  "$cli" ${case%%:*} --help | grep -q -- "${case#*:}" || fail "kexwell-cli ${case%%:*} --help lacks [${case#*:}]"
done
"$cli" --version | grep -qx 'kexwell-cli [0-9.]*' || fail "--version: $("$cli" --version)"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all command-line checks passed"

#!/usr/bin/env bash
# Purges files on small file systems made for the test, then reads the raw disk image: where the
# report says a file was purged, none of its contents may be left anywhere on the disk; where some
# are left, the report must not say purged.
# Each file's 4 KiB blocks hold a marker that names the file; the markers are counted in the image
# before the purge (to show they are there to be found) and after it. Last, the free space of an
# ext4 disk is purged, where an old version of a saved file and a removed file lie.
# Usage: forensic_tests.sh PATH/TO/kexwell-cli
# Exit status: 0 every check passed, 1 a check failed, 77 this machine cannot make the disks.
set -u
cli=$(realpath "$1")

skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "making and mounting disk images needs root"
for tool in losetup mount umount truncate filefrag python3 mkfs.ext4; do
  command -v "$tool" >/dev/null || skip "$tool is missing"
done

# The images are sparse files; /tmp may be a memory file system, so they go under /var/tmp.
work=$(mktemp -d "${KEXWELL_FORENSIC_DIR:-/var/tmp}/kexwell-forensic.XXXXXX") || exit 1
mnt=$work/mnt loop=""
mkdir "$mnt"
detach() {
  if mountpoint -q "$mnt"; then umount "$mnt" 2>/dev/null || umount -l "$mnt"; fi
  if [ -n "$loop" ]; then losetup -d "$loop" 2>/dev/null; loop=""; fi
}
trap 'detach; rm -rf "$work"' EXIT
trap 'echo "interrupted"; exit 130' INT TERM HUP
export XDG_CONFIG_HOME="$work/config"

# attach IMAGE [OPTIONS]: mounts the image on a loop device at $mnt.
attach() {
  loop=$(losetup -f --show "$1" 2>/dev/null) || { loop=""; return 1; }
  mount ${2:+-o "$2"} "$loop" "$mnt" 2>/dev/null || { detach; return 1; }
}

truncate -s 16M "$work/probe.img"
mkfs.ext4 -q -F "$work/probe.img" >/dev/null 2>&1 || skip "mkfs.ext4 cannot make the probe image"
attach "$work/probe.img" || skip "this machine refuses loop devices or loop mounts"
detach; rm -f "$work/probe.img"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# count IMAGE MARKER...: prints how often each marker occurs in the image, one count a line.
# A marker "block:HEX" counts the 4 KiB-aligned blocks that hold those bytes followed by zeros: the
# block of a file of a few bytes. Only the parts of the image that hold data are read, and not
# the 4 KiB blocks that $skip_blocks lists (numbers separated by blanks).
count() {
  skip_blocks=${skip_blocks:-} python3 - "$@" <<'EOF'
import os, sys
skip = [int(b) for b in os.environ["skip_blocks"].split()]
fd = os.open(sys.argv[1], os.O_RDONLY)
markers = [(bytes.fromhex(m[6:]), True) if m.startswith("block:") else (m.encode(), False) for m in sys.argv[2:]]
counts, chunk, offset = [0] * len(markers), 64 << 20, 0
while True:
    try:
        start = os.lseek(fd, offset, os.SEEK_DATA)
    except OSError:
        break
    offset = os.lseek(fd, start, os.SEEK_HOLE)
    for position in range(start - start % 4096, offset, chunk):
        n = min(chunk, offset - position)
        data = bytearray(os.pread(fd, n + 4096, position))
        for block in skip:
            at = block * 4096 - position
            if 0 <= at < len(data):
                data[at:at + 4096] = bytes(min(4096, len(data) - at))
        for i, (value, whole_block) in enumerate(markers):
            if whole_block:
                block = value + bytes(4096 - len(value))
                counts[i] += sum(data[at:at + 4096] == block for at in range(0, n, 4096))
            else:
                counts[i] += data.count(value, 0, n + len(value) - 1)
print("\n".join(map(str, counts)))
EOF
}

# A 3-byte file cannot hold a marker that is unique on a disk, so its block is what is counted:
# these 3 bytes at the start of a 4 KiB block and zeros to its end. A file system that keeps so
# small a file in its metadata (inline) gives it no block; there the 40-byte file is the check.
three_bytes=c5e13a

# blocks FILE COUNT MARKER: appends COUNT blocks of 4 KiB, each starting with the marker and its
# number, to FILE.
blocks() {
  local i
  for ((i = 0; i < $2; i++)); do printf '%-4096s' "$3$i;"; done >>"$1"
}

# How many markers each file holds when written: one a block, one in each of the small files.
declare -A written=([big.dat]=2560 [tiny.txt]=1 [three.dat]=1 [frag-a.dat]=32 [frag-b.dat]=32
                    [shared.dat]=16 [sparse.dat]=8)

grouped() { sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<<"$1"; }
# row COLUMNS...: a line of the table printed at the end.
table=()
row() { table+=("$(printf '%-16s %-11s %-8s %-8s %-20s %s' "$@")"); }
row "file system" file before after check report

# The file systems: name, the image's size, the mount options, whether it overwrites a file's
# blocks in place, and the command that makes one on an image. The images are as small as the
# commands allow, but for copy-on-write btrfs: on a disk that small it soon writes into the space
# just freed, where a disk with room to spare leaves the old blocks as they were.
# A loop device passes discards on as holes in its image, which a disk does not do, so no file
# system here discards freed blocks. The journal of data=journal holds all that the test writes,
# as a disk's journal holds its latest writes, so that wrapping round does not hide its copies.
setups=(
  "ext4            64M  nodiscard              yes mkfs.ext4 -q -F -b 4096 -I 256"
  "ext4-journal    192M nodiscard,data=journal no  mkfs.ext4 -q -F -b 4096 -I 256 -J size=64"
  "ext4-inline     64M  nodiscard              no  mkfs.ext4 -q -F -b 4096 -I 256 -O inline_data"
  "xfs             300M nodiscard              yes mkfs.xfs -q -f"
  "btrfs           1G   nodiscard              no  mkfs.btrfs -q -f"
  "btrfs-nodatacow 128M nodiscard,nodatacow    yes mkfs.btrfs -q -f"
)

started=$SECONDS
for setup in "${setups[@]}"; do
  read -r fs size options in_place mkfs <<<"$setup"
  read -r -a mkfs <<<"$mkfs"
  image=$work/$fs.img
  truncate -s "$size" "$image"
  if ! "${mkfs[@]}" "$image" >"$work/mkfs.txt" 2>&1; then
    echo "skipped $fs: ${mkfs[*]} failed: $(tail -1 "$work/mkfs.txt")"; rm -f "$image"; continue
  fi
  if ! attach "$image" "$options"; then
    echo "skipped $fs: the image does not mount with -o $options"; rm -f "$image"; continue
  fi

  # The purged folder is the top of the disk; kept/ and sparse/ are not purged with it.
  mkdir "$mnt/kept" "$mnt/sparse"
  files=(big.dat tiny.txt three.dat frag-a.dat frag-b.dat)
  markers=()
  blocks "$mnt/big.dat" "${written[big.dat]}" "KXF=big.dat#"
  printf '%-40s' "KXF=tiny.txt#" >"$mnt/tiny.txt"
  printf '%b' "\\x${three_bytes:0:2}\\x${three_bytes:2:2}\\x${three_bytes:4:2}" >"$mnt/three.dat"
  # Appends to two files in turns, each written out before the next, so that their blocks alternate.
  for ((turn = 0; turn < 8; turn++)); do
    for f in frag-a.dat frag-b.dat; do blocks "$mnt/$f" 4 "KXF=$f#$turn."; sync "$mnt/$f"; done
  done
  # The sparse file: 1 GiB on a smaller disk, with data at its start and in its middle.
  sparse=$mnt/sparse/sparse.dat
  for end in 512M 1G; do blocks "$sparse" 4 "KXF=sparse.dat#"; truncate -s $end "$sparse"; done
  # A copy that shares its blocks with a purged file, where the file system allows it.
  blocks "$mnt/shared.dat" "${written[shared.dat]}" "KXF=shared.dat#"
  cp --reflink=always "$mnt/shared.dat" "$mnt/kept/shared-copy.dat" 2>/dev/null && files+=(shared.dat) ||
    { echo "$fs: no shared copy, the file system refuses reflinks"; rm -f "$mnt/shared.dat"; }
  files+=(sparse.dat)
  sync
  declare -A bytes=()
  for f in "${files[@]}"; do
    path=$mnt/$f; [ "$f" == sparse.dat ] && path=$mnt/sparse/$f
    bytes[$f]=$(stat -c %s "$path")
    [ "$f" == three.dat ] && markers+=("block:$three_bytes") || markers+=("KXF=$f#")
    extents=$(filefrag "$path" | sed -n 's/.*: \([0-9]*\) extents\? found$/\1/p')
    [[ $f != frag-* ]] || [ "${extents:-0}" -ge 2 ] ||
      fail "$fs: $f lies in ${extents:-?} extent(s), so it shows nothing about a fragmented file"
    if [ "$f" == three.dat ] && filefrag -v "$path" | grep -q inline; then
      echo "$fs: three.dat is kept in the metadata (inline); the 40-byte tiny.txt is the check there"
      three_inline=1
    fi
  done
  copy_sum=$(cksum <"$mnt/kept/shared-copy.dat" 2>/dev/null)
  # Counted with the disk still mounted: after a remount a journal starts again at its beginning,
  # where the purge's own writes would cover the copies it holds.
  sync
  mapfile -t before < <(count "$image" "${markers[@]}")

  # The top is purged first and counted at once: the sparse file's purge may fill the disk, and
  # its writes would cover what the first purge left behind.
  timeout 300 "$cli" purge "$mnt" -t 2 -p 1 -y </dev/null >"$work/out.txt" 2>"$work/err.txt"
  rc=$?
  [ -z "$copy_sum" ] || [ "$(cksum <"$mnt/kept/shared-copy.dat")" == "$copy_sum" ] ||
    fail "$fs: the purge changed kept/shared-copy.dat, a file it was not asked to purge"
  left=$(cd "$mnt" && ls -A)
  detach
  mapfile -t after < <(count "$image" "${markers[@]}")
  attach "$image" "$options" || { fail "$fs: the image no longer mounts"; rm -f "$image"; continue; }
  timeout 300 "$cli" purge "$mnt/sparse" -t 2 -p 1 -y </dev/null >"$work/sparse-out.txt" 2>"$work/sparse-err.txt"
  sparse_rc=$?
  left+=$'\n'$(ls -A "$mnt/sparse")
  detach
  after[-1]=$(count "$image" "${markers[-1]}")
  rm -f "$image"

  bad() { state=FAIL; fail "$fs: $*"; }
  all_purged=1 sparse_purged=1
  for i in "${!files[@]}"; do
    f=${files[$i]} report=$work/out.txt state=ok
    [ "$f" == sparse.dat ] && report=$work/sparse-out.txt
    head="$f ($(grouped "${bytes[$f]}") bytes)"
    line=$(grep -m1 -E "^$(sed 's/[.()]/\\&/g' <<<"$head")( purged( \(.*\))?$|: )" "$report")
    case $line in
      "$head purged"*) verdict=purged ;;
      "$head: "*) verdict=${line#"$head: "} ;;
      *) verdict="no report line"; fail "$fs: the report has no line for [$head]:"$'\n'"$(cat "$report")" ;;
    esac
    [ "$verdict" == purged ] || { if [ "$f" == sparse.dat ]; then sparse_purged=0; else all_purged=0; fi; }
    if [ "$f" == three.dat ] && [ "${three_inline:-0}" -eq 1 ]; then
      state="inline, not counted"
    elif [ "${before[$i]:-0}" -lt "${written[$f]}" ]; then
      bad "only ${before[$i]:-0} of the ${written[$f]} markers of $f are in the image before the purge"
    fi
    [ "$verdict" == purged ] && [ "${after[$i]:-0}" -ne 0 ] &&
      bad "the report says $f was purged, but the disk still holds ${after[$i]} of its markers"
    [[ $verdict == purged || $verdict == "overwritten, but "* ]] && grep -qxF "$f" <<<"$left" &&
      bad "$f was overwritten ($verdict) but not deleted, though the purge deletes"
    [ "$in_place" == yes ] && [ "$f" != shared.dat ] && [ "$verdict" != purged ] &&
      bad "$fs overwrites in place, yet $f was not purged: $verdict"
    row "$fs" "$f" "${before[$i]:-?}" "${after[$i]:-?}" "$state" "$verdict"
  done
  unset three_inline bytes
  # The summary counts apart the files whose old data may remain, and the exit status says whether
  # every file was purged: 0 when all were, 1 otherwise.
  for run in "out $rc $all_purged" "sparse-out $sparse_rc $sparse_purged"; do
    read -r report status purged <<<"$run"
    remains=$(grep -c ': overwritten, but ' "$work/$report.txt")
    counted=$(sed -n 's/^Number of files overwritten whose old data may remain: \([0-9]*\)\r\?$/\1/p' "$work/$report.txt")
    [ "$counted" == "${remains#0}" ] && [ "$status" -eq $((1 - purged)) ] ||
      fail "$fs: $remains files whose old data may remain, the summary counts [$counted]; exit status $status," \
        "expected $((1 - purged)):"$'\n'"$(cat "$work/$report.txt" "$work/${report/out/err}.txt")"
  done
done

# --- The free space ------------------------------------------------------------------------
# On ext4, a document saved again as editors save it (a new file renamed over the old one) and a
# file removed with rm leave their old data in free blocks that no file owns: only a purge of the
# free space reaches them. The markers are counted outside the journal, which is no free space.
# ext4 keeps back some free blocks (reserved_clusters: 2% of the disk, at most 16 MiB) that no
# program can fill, and which of the free blocks they are is the allocator's choice: for the
# count the reserve is set to 0, so that every free block can be reached; with the reserve as it
# comes, the report must name exactly that much as not reached. The purge leaves the free space
# as it found it, and nothing of its own, also when it is stopped, when a write fails and when
# the program is killed (its next start removes the rest).

# free_blocks: the blocks of $mnt that this user may fill.
free_blocks() { sync; stat -f -c %a "$mnt"; }
# expect_same_space WHAT BEFORE FILES: the free space is BEFORE again, within a block a fill file,
# and no dummy folder or file of the program's is left in $mnt.
expect_same_space() {
  local now left
  now=$(free_blocks) left=$(cd "$mnt" && ls -d _kx_dummy* 2>/dev/null | grep -vx _kx_dummy77)
  [ $((now > $2 ? now - $2 : $2 - now)) -le "$3" ] ||
    fail "free space: $1 left $now free blocks, $2 before (fill files: $3)"
  [ -z "$left" ] || fail "free space: $1 left [$left]"
}
# free_purge [COMMAND...]: purges the free space of ${free_target:-$mnt} once (type 1), run by
# COMMAND (strace, setpriv...); sets $rc.
free_purge() {
  "$@" "$cli" purge-free-space "${free_target:-$mnt}" -t 1 -p 1 -y </dev/null >"$work/free-out.txt" 2>"$work/free-err.txt"
  rc=$?
}
# expect_free WHAT STATUS LINE...: the last purge of free space ended with STATUS, and its report
# has a line that starts with each LINE (a grep pattern).
expect_free() {
  local what=$1 status=$2 line ok=1
  shift 2
  for line; do grep -q "^$line" "$work/free-out.txt" || ok=0; done
  [ "$rc" -eq "$status" ] && [ $ok -eq 1 ] ||
    fail "free space: $what gave exit status $rc:"$'\n'"$(cat "$work/free-out.txt" "$work/free-err.txt")"
}
# slow_purge SIGNAL: starts a purge whose writes take 50 ms each, sends it SIGNAL after 2 s and
# waits for it; sets $rc.
slow_purge() {
  strace -f -qq -o /dev/null -e trace=write -e inject=write:delay_exit=50000 \
    "$cli" purge-free-space "$mnt" -t 1 -p 1 -y </dev/null >"$work/free-out.txt" 2>"$work/free-err.txt" &
  local tracer=$! child=""
  sleep 2
  child=$(pgrep -P "$tracer" | head -1)
  [ -n "$child" ] && kill -s "$1" "$child"
  wait "$tracer" 2>/dev/null; rc=$?
}

free_image=$work/free.img
truncate -s 64M "$free_image"
if ! command -v debugfs >/dev/null || ! command -v strace >/dev/null || ! command -v setpriv >/dev/null; then
  echo "skipped free space: debugfs, strace or setpriv is missing"
elif ! mkfs.ext4 -q -F -b 4096 "$free_image" >/dev/null 2>&1 || ! attach "$free_image" nodiscard; then
  echo "skipped free space: the ext4 image cannot be made or mounted"
else
  blocks "$mnt/doc.txt" 64 "KXFREE=doc.v1#" && sync
  blocks "$mnt/doc.new" 64 "KXFREE=doc.v2#" && sync "$mnt/doc.new" && mv -f "$mnt/doc.new" "$mnt/doc.txt"
  blocks "$mnt/gone.dat" 64 "KXFREE=gone#" && sync && rm "$mnt/gone.dat" && sync
  free_markers=("KXFREE=doc.v1#" "KXFREE=gone#" "KXFREE=doc.v2#")
  skip_blocks=$(debugfs -R 'blocks <8>' "$free_image" 2>/dev/null)
  [ -n "$skip_blocks" ] || fail "free space: debugfs does not list the journal's blocks"
  mapfile -t before < <(skip_blocks=$skip_blocks count "$free_image" "${free_markers[@]}")
  [ "${before[*]}" == "64 64 64" ] || fail "free space: markers before the purge: ${before[*]}, expected 64 each"
  reserve_file=/sys/fs/ext4/$(basename "$loop")/reserved_clusters
  reserve=$(cat "$reserve_file" 2>/dev/null) && echo 0 >"$reserve_file" ||
    fail "free space: the ext4 reserve cannot be set through $reserve_file"
  space=$(free_blocks)
  # Traced, so that the write error below can be put on a write of a fill file.
  free_purge timeout 300 strace -f -qq -o "$work/free-trace.txt" -e trace=openat,write
  expect_free "the purge" 0 'The fill files and their folder were deleted.' \
    'Overwrite 2 of 2 (bit pattern 00000000): ' 'Free space not reached: 0 bytes'
  files=$(sed -n 's/^Overwrite 1 of 2 .* in \([0-9]*\) fill files\?$/\1/p' "$work/free-out.txt")
  expect_same_space "the purge" "$space" "${files:-1}"
  [ "$(ls -A "$mnt" | sort | tr '\n' ' ')" == "doc.txt lost+found " ] || fail "free space: the drive holds [$(ls -A "$mnt")]"
  detach
  mapfile -t after < <(skip_blocks=$skip_blocks count "$free_image" "${free_markers[@]}")
  [ "${after[*]}" == "0 0 64" ] ||
    fail "free space: markers after the purge (old version, removed file, saved file): ${after[*]}, expected 0 0 64"
  row ext4 "free space" "${before[0]:-?}+${before[1]:-?}" "$((${after[0]:-1} + ${after[1]:-1}))" \
    "$([ "${after[*]}" == "0 0 64" ] && echo ok || echo FAIL)" "purge-free-space"

  if ! attach "$free_image" nodiscard; then
    fail "free space: the image no longer mounts"
  else
    # With its reserve, ext4 keeps that much from the purge, and the report says so.
    free_purge
    expect_free "the purge with the reserve of $reserve clusters" 0 \
      "Free space not reached: .* ($(grouped $((reserve * 4096))) bytes): blocks that the file system keeps for its own records"
    # A stop (SIGTERM, as Ctrl-C; a job started in the background ignores SIGINT, and so does the
    # program then) and a write that fails: the fill files go, the free space comes back.
    space=$(free_blocks)
    slow_purge TERM
    expect_free SIGTERM 1 'Purge of free space was stopped.'
    expect_same_space "a stop" "$space" 1
    # The third write into the first fill file, counted as the traced purge counted its writes.
    fill_fd=$(grep -m1 -o 'openat([0-9]*, "_kx_dummy1", O_WRONLY|O_CREAT[^=]*= [0-9]*' "$work/free-trace.txt" | sed 's/.*= //')
    nth=$(grep -E '^[0-9]+ +write\(' "$work/free-trace.txt" | grep -n -m3 "write($fill_fd," | tail -1 | cut -d: -f1)
    free_purge timeout 300 strace -f -qq -o /dev/null -e trace=write -e inject=write:error=EIO:when="${nth:-1}"
    expect_free "the injected write error (write $nth)" 1 'Error when writing to a fill file: input/output error.'
    expect_same_space "a write error" "$space" 1

    # Killed: the dummy folder stays, marked and listed, until the next start removes it; a
    # folder of the same name without the marker is left alone.
    mkdir "$mnt/_kx_dummy77" && printf 'mine' >"$mnt/_kx_dummy77/_kx_dummy1"
    space=$(free_blocks)
    slow_purge KILL
    killed=$(cd "$mnt" && ls -d _kx_dummy[0-9] 2>/dev/null)
    [ -n "$killed" ] && [ -f "$mnt/$killed/_kx_dummy.kexwell" ] &&
      grep -qxF "$mnt/$killed" "$XDG_CONFIG_HOME/Kexwell/fill-folders.txt" ||
      fail "free space: the killed purge left no marked and listed folder: [$killed]"
    "$cli" purge-free-space "$mnt" </dev/null >/dev/null 2>"$work/free-err.txt"
    grep -qF "The fill files that an interrupted purge of free space left in $mnt/$killed were deleted." "$work/free-err.txt" ||
      fail "free space: the next start said [$(cat "$work/free-err.txt")]"
    expect_same_space "the start after a kill" "$space" 0
    [ "$(cat "$mnt/_kx_dummy77/_kx_dummy1")" == mine ] || fail "free space: the folder without the marker was touched"

    # A plain user cannot fill the blocks reserved for the administrator, and is told so.
    mkdir -m 777 "$mnt/user" "$work/user-config"
    chmod 777 "$work/user-config" && chmod o+x "$work"
    XDG_CONFIG_HOME=$work/user-config free_target=$mnt/user \
      free_purge timeout 300 setpriv --reuid=65534 --regid=65534 --clear-groups
    expect_free "a plain user's purge" 0 'Free space not reached: .*: blocks that the file system reserves for the administrator'
    [ -z "$(ls -A "$mnt/user")" ] || fail "free space: a plain user's purge left [$(ls -A "$mnt/user")]"
    detach
  fi
fi
rm -f "$free_image"

echo
printf '%s\n' "${table[@]}"
echo "($((SECONDS - started)) s)"
[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all forensic checks passed"

#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kexwell need, when they are missing:
# the Linux build, the tools that make disk images for the forensic tests, and the Windows cross
# build with Wine to run its tests, and the tools that build and check the Debian package.
# Waits for another package manager to finish instead of failing on the dpkg lock.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  qt6-base-dev libgl-dev fonts-dejavu-core
  xvfb xauth
  coreutils
  util-linux e2fsprogs xfsprogs btrfs-progs python3 strace
  g++-mingw-w64-x86-64-posix googletest wine wine64
  debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
    echo "These packages are missing and this user cannot install them: ${missing[*]}" >&2
    exit 1
  fi
fi

apt_get() {
  # DPkg::Lock::Timeout makes apt wait for the dpkg lock; the loop covers the lists lock too.
  local tries=0
  until $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"; do
    tries=$((tries + 1))
    if [ $tries -ge 20 ]; then return 1; fi
    echo "apt-get is busy or failed; trying again in 15 s ..." >&2
    sleep 15
  done
}

apt_get update -q
apt_get install -y -q --no-install-recommends "${missing[@]}"

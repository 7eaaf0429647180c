#!/usr/bin/env bash
# Builds the Debian package the Debian way (dpkg-buildpackage with the rules in debian/) and puts
# kexwell_<version>_amd64.deb into dist/ (or the folder given as the first argument). The package's
# build folder and debhelper's files are removed afterwards, so the tree stays as it was.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-dist}")"
mkdir -p "$out"
# dpkg-buildpackage writes its results beside the source folder; they are gathered from there.
version="$(dpkg-parsechangelog -S Version)"
parent="$(dirname "$PWD")"
# One compiler at a time unless KEXWELL_PACKAGE_JOBS says otherwise.
dpkg-buildpackage -us -uc -b -j"${KEXWELL_PACKAGE_JOBS:-1}" >"$out/build.log" 2>&1 || {
  tail -n 40 "$out/build.log" >&2
  echo "package.sh: the package build failed; its log: $out/build.log" >&2
  exit 1
}
for f in "$parent"/kexwell_"$version"_amd64.{deb,buildinfo,changes} \
  "$parent"/kexwell-dbgsym_"$version"_amd64.*deb; do
  if [ -e "$f" ]; then mv -f "$f" "$out/"; fi
done
debian/rules clean >/dev/null 2>&1 || true
echo "$out/kexwell_${version}_amd64.deb"

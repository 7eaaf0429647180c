#!/usr/bin/env bash
# Pictures of every window and dialog of the desktop program, at 96 and at 144 DPI, taken on a
# virtual display: tools/screenshots.sh [FOLDER] (default: shots/).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-shots}
scripts/setup.sh
scripts/build.sh
for dpi in 96 144; do
  scale=$(awk -v d="$dpi" 'BEGIN { printf "%g", d / 96 }')
  QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 2400x1600x24 -dpi $dpi" \
    build/tools/kexwell_screenshots "$out/$dpi"
done
echo "Pictures in $out/96 and $out/144."

#!/usr/bin/env bash
# The program's folders depend one way, and the guard that says so finds every kind of breach.
# Usage: layering_tests.sh SOURCE_FOLDER
set -u
guard="$(cd "$(dirname "$0")" && pwd)/include_guard.py"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! out=$(python3 "$guard" "$1"); then
  fail "the program's folders include upwards:"$'\n'"$out"
fi

# A made-up tree with one breach of each kind, and files that may do what the core may not.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform/posix,text,engine,operation,ui}
printf '#include "setups/registry.h"\n' >"$tree/platform/posix/store.cpp"
printf '#include "text/utf8.h"\n' >"$tree/platform/paths.h"
printf '#include "platform/files.h"\n#include "engine/purge.h"\n' >"$tree/text/sizes.cpp"
printf '#include <QString>\n#include <vector>\n' >"$tree/engine/purge.cpp"
printf '#include <QDialog>\n#include "ui/twips.h"\n' >"$tree/engine/type_dialog.cpp"
printf '#include "ui/main_window.h"\n' >"$tree/operation/report_window.h"
printf '#include "operation/run.h"\n#include <QWidget>\n' >"$tree/ui/main_window.cpp"
expected='engine/purge.cpp:1: includes <QString>: Qt, which only the desktop program'"'"'s files may use
platform/paths.h:1: includes "text/utf8.h": the platform layer includes nothing of the program
platform/posix/store.cpp:1: includes "setups/registry.h": the platform layer includes nothing of the program
text/sizes.cpp:2: includes "engine/purge.h": engine/ lies above text/'
out=$(cd "$tree" && python3 "$guard" . | sort)
status=$?
[ "$out" == "$expected" ] || fail "the guard on the made-up tree said:"$'\n'"$out"$'\n'"expected:"$'\n'"$expected"
python3 "$guard" "$tree" >/dev/null && fail "the guard passed a tree that includes upwards"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "the folders depend one way"

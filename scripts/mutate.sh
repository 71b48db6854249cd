#!/usr/bin/env bash
# Mutation check: applies each one-line change of scripts/mutations.txt to a copy of the tree,
# builds and runs the native unit tests, and reports the changes that no test caught. An argument
# names another file of changes (a few new ones, say).
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
COPY="$ROOT/build/mutate/src"
BUILD="$ROOT/build/mutate/build"
mkdir -p "$COPY" "$BUILD"
(cd "$ROOT" && git ls-files -co --exclude-standard | grep -v "^build/" | tar -cf - -T - | tar -xf - -C "$COPY")
cmake -S "$COPY" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"${JOBS:-2}" --target zk_unit_tests >/dev/null || { echo "mutate: the copy does not build"; exit 2; }
"$BUILD/zk_unit_tests" --gtest_brief=1 >/dev/null 2>&1 || { echo "mutate: the tests fail without a change"; exit 2; }
killed=0 survived=0 broken=0
while IFS= read -r line; do
  case "$line" in ''|'#'*) continue ;; esac
  file=${line%%@@*}; rest=${line#*@@}
  text=${rest%%@@*}; rest=${rest#*@@}
  replacement=${rest%%@@*}; meaning=${rest#*@@}
  cp "$COPY/$file" "$COPY/$file.orig"
  if ! python3 - "$COPY/$file" "$text" "$replacement" <<'PY'
import sys
path, text, replacement = sys.argv[1], sys.argv[2].replace('\\n', '\n'), sys.argv[3].replace('\\n', '\n')
s = open(path, encoding='utf-8').read()
if s.count(text) != 1:
    sys.exit(1)
open(path, 'w', encoding='utf-8').write(s.replace(text, replacement))
PY
  then
    echo "STALE    $file: ${meaning#\# } (the text is not there once)"
    broken=$((broken + 1))
  elif ! cmake --build "$BUILD" -j"${JOBS:-2}" --target zk_unit_tests >/dev/null 2>&1; then
    echo "BROKEN   $file: ${meaning#\# } (does not build)"
    broken=$((broken + 1))
  elif timeout 300 "$BUILD/zk_unit_tests" --gtest_brief=1 >/dev/null 2>&1; then
    echo "SURVIVED $file: ${meaning#\# }"
    survived=$((survived + 1))
  else
    echo "killed   $file: ${meaning#\# }"
    killed=$((killed + 1))
  fi
  mv "$COPY/$file.orig" "$COPY/$file"
  touch "$COPY/$file"
done < "${1:-$ROOT/scripts/mutations.txt}"
cmake --build "$BUILD" -j"${JOBS:-2}" --target zk_unit_tests >/dev/null 2>&1
echo "mutations: $killed killed, $survived survived, $broken not applied"
[ "$survived" = 0 ] && [ "$broken" = 0 ]

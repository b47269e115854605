#!/usr/bin/env bash
# Every example script compiles and runs over its test headlines (NAME.headlines.txt) without an error.
#   examples_run_cleanly.sh GLC EXAMPLES_DIR
set -uo pipefail
glc="$1" dir="$2"
count=0 bad=0
for src in "$dir"/*.pas; do
  headlines="${src%.pas}.headlines.txt"
  [ -f "$headlines" ] || { echo "FAIL $src: no test headlines beside it"; bad=$((bad + 1)); continue; }
  out="$("$glc" run "$src" "$headlines" 2>&1)"
  rc=$?
  count=$((count + 1))
  if [ $rc -ne 0 ] || grep -q '^ERROR' <<<"$out"; then
    echo "FAIL $src (exit $rc)"; sed 's/^/  /' <<<"$out" | head -20; bad=$((bad + 1))
  fi
done
echo "examples: $count run, $bad failed"
[ "$count" -gt 0 ] && [ "$bad" = 0 ]

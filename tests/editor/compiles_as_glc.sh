#!/usr/bin/env bash
# Every script of a folder compiled by `Glossel.exe /compile` under Wine and by the native glc: the same compiled
# bytes, or for a script with errors the same messages at the same places and the same exit code.
#   compiles_as_glc.sh GLOSSEL.EXE CASES_DIR        (glc: $GLC, default build/native/bin/glc)
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
glossel="$(realpath "$1")" cases="$(realpath "$2")"
glc="${GLC:-$ROOT/build/native/bin/glc}"
[ -x "$glc" ] || { echo "glc is missing: $glc (tools/build builds it)"; exit 1; }
work="$(mktemp -d /tmp/pelo-glossel.XXXXXX)"
trap 'rm -rf "$work"' EXIT
cp "$cases"/*.pas "$work/"
cd "$work"
checked=0 differ=0
for src in *.pas; do
  name="${src%.pas}"
  "$ROOT/tools/wine/run" "$glossel" /compile "$src" "$name.glossel.exn" >"$name.glossel.txt" 2>/dev/null
  rc_editor=$?
  "$glc" compile "$src" "$name.glc.exn" >"$name.glc.txt" 2>&1
  rc_glc=$?
  checked=$((checked + 1))
  if [ "$rc_editor" != "$rc_glc" ]; then
    echo "DIFFER $src: exit $rc_editor, glc $rc_glc"; sed 's/^/  editor: /' "$name.glossel.txt"; differ=$((differ + 1)); continue
  fi
  if [ "$rc_glc" = 0 ]; then
    cmp -s "$name.glossel.exn" "$name.glc.exn" || { echo "DIFFER $src: compiled bytes"; differ=$((differ + 1)); }
  else
    # "FILE(L,C): text" against glc's "[Error] (L:C): text".
    tr -d '\r' <"$name.glossel.txt" | sed -E "s/^$src\(([0-9]+),([0-9]+)\): /(\1:\2): /" >"$name.a"
    sed -E 's/^\[Error\] \(([0-9]+):([0-9]+)\): /(\1:\2): /' "$name.glc.txt" >"$name.b"
    cmp -s "$name.a" "$name.b" || { echo "DIFFER $src: messages"; diff "$name.a" "$name.b" | head -5; differ=$((differ + 1)); }
  fi
done
echo "compiled $checked scripts with Glossel.exe and glc: $differ differ"
[ "$checked" -gt 0 ] && [ "$differ" = 0 ]

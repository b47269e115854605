#!/bin/sh
# Rebuilds fuzz/corpus/loader: every script of the differential corpus that compiles, and the seeds in
# fuzz/loader_seeds (what the reference runner cannot run, such as calls into other libraries), as compiled files.
#   fuzz/make_loader_corpus.sh GLC
set -eu
GLC=${1:?usage: make_loader_corpus.sh PATH_TO_GLC}
HERE=$(cd "$(dirname "$0")" && pwd)
OUT="$HERE/corpus/loader"
mkdir -p "$OUT"
# regress_* files are the fuzzer's own finds, kept as they are
find "$OUT" -name '*.exn' ! -name 'regress_*' -delete
for f in "$HERE"/../tests/differential/cases/*.pas "$HERE"/loader_seeds/*.pas; do
  name=$(basename "$f" .pas)
  "$GLC" compile "$f" "$OUT/$name.exn" >/dev/null 2>&1 || rm -f "$OUT/$name.exn"
done
echo "$(ls "$OUT" | wc -l) compiled files in $OUT"

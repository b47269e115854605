#!/bin/sh
# Speed of the script VM against the reference runner on the same machine and in the same run.
#
#   bench/lang/compare.sh [GLC] [REPEATS]
#
# Runs each benchmark script of the reference tools (Start over every headline, REPEATS times) with
# `glc bench` and `psoracle --bench`, three times each, and prints the best microseconds per call of
# both and their ratio. The budget for bench_start is a ratio of at least 3.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
GLC=${1:-$HERE/../../build/native/bin/glc}
REPEATS=${2:-100}
PSO=${PSORACLE:-${XDG_CACHE_HOME:-$HOME/.cache}/psoracle/psoracle}
BENCH=${PSORACLE_BENCH:-/work/shared/tools/psoracle/bench}
[ -x "$GLC" ] || { echo "compare.sh: glc not found at $GLC" >&2; exit 3; }
[ -x "$PSO" ] || { echo "compare.sh: psoracle not found at $PSO" >&2; exit 3; }

best() {  # best() CMD... : smallest us_per_call of three runs
  b=""
  for _ in 1 2 3; do
    v=$("$@" | sed -n 's/^BENCH .*us_per_call=\([0-9.]*\).*/\1/p')
    if [ -z "$b" ] || awk "BEGIN{exit !($v < $b)}"; then b=$v; fi
  done
  echo "$b"
}

for script in bench_empty bench_start bench_charloop; do
  g=$(best "$GLC" bench "$REPEATS" "$BENCH/$script.pas" "$BENCH/headlines.txt")
  p=$(best "$PSO" --bench "$REPEATS" "$BENCH/$script.pas" "$BENCH/headlines.txt")
  awk -v s="$script" -v g="$g" -v p="$p" \
    'BEGIN { printf "%-15s glc %8.3f us  psoracle %8.3f us  speed-up %5.1fx\n", s, g, p, p / g }'
done

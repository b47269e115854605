#!/bin/sh
# Speed of our script engine against the reference runner, on the same
# scripts and headlines in the same run.  Builds nothing; prints, never fails
# on time.
#
#   compare.sh --glc PATH [--psoracle PATH] [--psoracle-dir DIR]
#              [--repeats N] [--runs R]
#
# Scripts: the reference's own bench/*.pas (with its bench/headlines.txt)
# and our scripts/*.pas, all fed the same headlines.  Each script runs R
# times per engine ("psoracle --bench N" and "glc bench N": N passes over the
# headlines after one untimed pass); the best run counts, because the
# machine's noise only ever adds time.  Printed per script: microseconds per
# Start call for both and psoracle/glc (above 1: ours is faster).  A script
# whose host output (counted lines and bytes, DeInit's lines) differs
# between the two is flagged, since then they did not do the same work.
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
GLC=${GLC:-}
PSO=${PSORACLE:-${XDG_CACHE_HOME:-$HOME/.cache}/psoracle/psoracle}
PSO_DIR=${PSORACLE_DIR:-$ROOT/../shared/tools/psoracle}
REPEATS=${REPEATS:-100}
RUNS=${RUNS:-3}

usage() {
  echo "usage: compare.sh --glc PATH [--psoracle PATH] [--psoracle-dir DIR] [--repeats N] [--runs R]" >&2
  exit 3
}

while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case "$1" in
    --glc) GLC=$2 ;;
    --psoracle) PSO=$2 ;;
    --psoracle-dir) PSO_DIR=$2 ;;
    --repeats) REPEATS=$2 ;;
    --runs) RUNS=$2 ;;
    *) usage ;;
  esac
  shift 2
done

[ -n "$GLC" ] || usage
for bin in "$GLC" "$PSO"; do
  [ -x "$bin" ] || { echo "compare.sh: not executable: $bin" >&2; exit 3; }
done
LINES_FILE="$PSO_DIR/bench/headlines.txt"
[ -f "$LINES_FILE" ] || { echo "compare.sh: no $LINES_FILE (use --psoracle-dir)" >&2; exit 3; }

TMP=$(mktemp -d "${TMPDIR:-/tmp}/langbench.XXXXXX")
trap 'rm -rf "$TMP"' EXIT INT TERM

# best_of ENGINE SCRIPT OUTFILE: runs one engine RUNS times; leaves the output
# of the fastest run in OUTFILE and prints its microseconds per call, or
# "error" when no run produced a BENCH line.
best_of() {
  engine=$1; script=$2; keep=$3
  best=""
  r=0
  while [ $r -lt "$RUNS" ]; do
    r=$((r + 1))
    if [ "$engine" = glc ]; then
      "$GLC" bench "$REPEATS" "$script" "$LINES_FILE" > "$TMP/run" 2>/dev/null
    else
      "$PSO" --bench "$REPEATS" "$script" "$LINES_FILE" > "$TMP/run" 2>/dev/null
    fi
    us=$(sed -n 's/^BENCH .*us_per_call=\([0-9.]*\).*/\1/p' "$TMP/run")
    [ -n "$us" ] || continue
    if [ -z "$best" ] || awk -v a="$us" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$us
      cp "$TMP/run" "$keep"
    fi
  done
  echo "${best:-error}"
}

# What both engines must agree on: the counted host output and every line
# besides the BENCH line (DeInit's report), without the timings.
work_done() {
  sed -e 's/^BENCH .*\(host_lines=[0-9]* host_bytes=[0-9]*\).*/\1/' "$1"
}

echo "script engines: Start calls over $(wc -l < "$LINES_FILE") headlines x $REPEATS, best of $RUNS runs"
printf '%-22s %14s %14s %14s\n' script "psoracle us" "glc us" "psoracle/glc"
failed=0
for script in "$PSO_DIR"/bench/*.pas "$HERE"/scripts/*.pas; do
  [ -f "$script" ] || continue
  name=$(basename "$script" .pas)
  rm -f "$TMP/pso.out" "$TMP/glc.out"
  pso_us=$(best_of psoracle "$script" "$TMP/pso.out")
  glc_us=$(best_of glc "$script" "$TMP/glc.out")
  note=""
  if [ "$pso_us" = error ] || [ "$glc_us" = error ]; then
    ratio="-"
    failed=1
  else
    ratio=$(awk -v p="$pso_us" -v g="$glc_us" 'BEGIN { if (g > 0) printf "%.1fx", p / g; else print "-" }')
    if [ "$(work_done "$TMP/pso.out")" != "$(work_done "$TMP/glc.out")" ]; then
      note="  (host output differs)"
    fi
  fi
  printf '%-22s %14s %14s %14s%s\n' "$name" "$pso_us" "$glc_us" "$ratio" "$note"
done
# A runner that produced no figure is an error of the setup, not of speed.
exit $failed

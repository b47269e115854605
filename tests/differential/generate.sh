#!/bin/sh
# The differential program generator's run: for each seed, a random script from script_generator goes through
# the reference runner (psoracle) and through glc; stdout and the exit code must agree (for compile errors only
# the position of the first message, as in run.sh). The first difference is minimised (statement lines of the main
# block are dropped while the difference stays) and printed with both outputs; the run then ends with status 1.
# A reference that dies of its documented overflow bugs (exit 217) where we report the overflow, the two agreeing
# up to where the first of them stopped, is counted apart, not as a difference.
#
#   generate.sh --gen PATH --glc PATH [--psoracle PATH] [--count N] [--seed S] [--statements K]
set -u
GEN="" GLC="" PSO="${PSORACLE:-${XDG_CACHE_HOME:-$HOME/.cache}/psoracle/psoracle}"
COUNT=100 SEED=1 STATEMENTS=25 TIMEOUT=${DIFF_TIMEOUT:-20}
while [ $# -gt 0 ]; do
  case "$1" in
    --gen) GEN=$2; shift 2 ;;
    --glc) GLC=$2; shift 2 ;;
    --psoracle) PSO=$2; shift 2 ;;
    --count) COUNT=$2; shift 2 ;;
    --seed) SEED=$2; shift 2 ;;
    --statements) STATEMENTS=$2; shift 2 ;;
    *) echo "usage: generate.sh --gen PATH --glc PATH [--psoracle PATH] [--count N] [--seed S] [--statements K]" >&2; exit 3 ;;
  esac
done
# The runners are called from a scratch folder: make their paths absolute.
absolute() { case "$1" in /*) echo "$1" ;; */*) echo "$(pwd)/$1" ;; *) command -v "$1" || echo "$1" ;; esac; }
GEN=$(absolute "$GEN"); GLC=$(absolute "$GLC"); PSO=$(absolute "$PSO")
[ -x "$GEN" ] && [ -x "$GLC" ] || { echo "generate.sh: --gen and --glc must name the built programs" >&2; exit 3; }
if [ ! -x "$PSO" ]; then echo "generate.sh: no reference runner at $PSO: nothing to compare"; exit 0; fi

TMP=$(mktemp -d "${TMPDIR:-/tmp}/generate.XXXXXX")
trap 'rm -rf "$TMP"' EXIT INT TERM

# out RUNNER... FILE: stdout and "[exit N]", a compile error reduced to its position
out() {
  script=$1; shift
  (cd "$TMP" && timeout "$TIMEOUT" "$@" "$script" 2>/dev/null; echo "[exit $?]") >"$TMP/raw"
  if [ "$(tail -n 1 "$TMP/raw")" = "[exit 1]" ]; then
    sed -n 's/^\[Error\] *(\([0-9]*:[0-9]*\)).*/[Error] (\1)/p' "$TMP/raw" | head -n 1
    echo "[exit 1]"
  else
    cat "$TMP/raw"
  fi
}

differs() {  # FILE: 0 when the two runners disagree on it
  out "$1" "$PSO" >"$TMP/ref.out"
  out "$1" "$GLC" run >"$TMP/glc.out"
  cmp -s "$TMP/ref.out" "$TMP/glc.out" && return 1
  # The documented reference bugs of a floating-point or Currency overflow: the fault is delivered at the next
  # floating-point operation, which ends the process (exit 217) or, inside the engine's own error handling, becomes
  # a Math error there; we raise the Math error at the fault. Up to where the first of the two stopped, the lines
  # must be the same.
  refEnd=$(tail -n 1 "$TMP/ref.out")
  if { [ "$refEnd" = "[exit 217]" ] || grep -q '^ERROR Math error' "$TMP/ref.out"; } &&
     grep -q 'Math error\|Invalid floating point operation' "$TMP/glc.out"; then
    grep '^LINE' "$TMP/ref.out" >"$TMP/ref.lines"
    grep '^LINE' "$TMP/glc.out" >"$TMP/glc.lines"
    r=$(wc -l <"$TMP/ref.lines") g=$(wc -l <"$TMP/glc.lines")
    n=$((r < g ? r : g))
    # a reference that did not die reported the fault itself: ours, raised at the fault, cannot come later
    if [ "$refEnd" != "[exit 217]" ] && { [ "$g" -gt "$r" ] || ! grep -q '^ERROR Math error' "$TMP/glc.out"; }; then
      return 0
    fi
    if [ "$(head -n "$n" "$TMP/ref.lines")" = "$(head -n "$n" "$TMP/glc.lines")" ]; then
      DIED=$((DIED + 1))
      return 1
    fi
  fi
  return 0
}

minimise() {  # FILE: drops statement lines of the main block while the difference stays
  target=$1
  n=$(wc -l <"$target")
  first=$(grep -n '^begin$' "$target" | tail -n 1 | cut -d: -f1)
  line=$((n - 4))
  while [ "$line" -gt "$((first + 2))" ]; do
    sed "${line}d" "$target" >"$TMP/try.pas"
    if differs "$TMP/try.pas"; then cp "$TMP/try.pas" "$target"; fi
    line=$((line - 1))
  done
}

k=0 DIED=0
while [ "$k" -lt "$COUNT" ]; do
  seed=$((SEED + k))
  "$GEN" "$seed" "$STATEMENTS" >"$TMP/s.pas"
  if differs "$TMP/s.pas"; then
    cp "$TMP/s.pas" "$TMP/min.pas"
    minimise "$TMP/min.pas"
    differs "$TMP/min.pas"
    echo "generate: seed $seed differs after $k scripts that agreed; minimised script:"
    cat "$TMP/min.pas"
    echo "--- reference:"; cat "$TMP/ref.out"
    echo "--- glc:"; cat "$TMP/glc.out"
    exit 1
  fi
  k=$((k + 1))
done
echo "generate: $COUNT scripts (seeds $SEED..$((SEED + COUNT - 1))), no difference ($DIED where the reference's documented overflow fault ended it or came later)"

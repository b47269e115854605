#!/bin/sh
# Differential script tests: every cases/NAME.pas runs through the reference
# runner (psoracle) and through our glc; stdout plus the exit code must agree.
#
#   run.sh [--glc PATH] [--psoracle PATH] [--regen] [FILTER]
#
# Files of a case (all but NAME.pas optional):
#   NAME.pas           the script
#   NAME.lines         headlines; Start(line, 'TEST') is called once per line
#   NAME.args          extra flags, given to both runners
#   NAME.expected      psoracle's stdout followed by "[exit N]"
#   NAME.glc.expected  what glc must print instead, where the reference has a
#                      plain bug that we do not copy (NAME.reason says why)
#
# psoracle, when found, must still print NAME.expected exactly: the stored
# outputs cannot drift away from the reference.  glc is compared line by line
# with NAME.glc.expected or else NAME.expected; for compile errors (exit 1)
# only the position of the first "[Error] (row:col)" counts, not its text.
# FILTER keeps the cases whose name contains it.  --regen rewrites
# NAME.expected from psoracle (never NAME.glc.expected).
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
CASES="$HERE/cases"
GLC=""
PSO="${PSORACLE:-${XDG_CACHE_HOME:-$HOME/.cache}/psoracle/psoracle}"
PSO_GIVEN=0
REGEN=0
FILTER=""
TIMEOUT=${DIFF_TIMEOUT:-20}

usage() {
  echo "usage: run.sh [--glc PATH] [--psoracle PATH] [--regen] [FILTER]" >&2
  exit 3
}

while [ $# -gt 0 ]; do
  case "$1" in
    --glc) [ $# -ge 2 ] || usage; GLC=$2; shift 2 ;;
    --psoracle) [ $# -ge 2 ] || usage; PSO=$2; PSO_GIVEN=1; shift 2 ;;
    --regen) REGEN=1; shift ;;
    -*) usage ;;
    *) [ -z "$FILTER" ] || usage; FILTER=$1; shift ;;
  esac
done

# The runners are called from inside cases/: make their paths absolute.
absolute() {
  case "$1" in
    "") echo "" ;;
    /*) echo "$1" ;;
    */*) echo "$(pwd)/$1" ;;
    *) command -v "$1" || echo "$1" ;;
  esac
}
GLC=$(absolute "$GLC")
PSO=$(absolute "$PSO")

if [ ! -x "$PSO" ]; then
  if [ $PSO_GIVEN = 1 ] || [ $REGEN = 1 ]; then
    echo "run.sh: psoracle not found at $PSO" >&2
    exit 3
  fi
  PSO=""
fi
if [ -n "$GLC" ] && [ ! -x "$GLC" ]; then
  echo "run.sh: glc not found at $GLC" >&2
  exit 3
fi
if [ -z "$PSO" ] && [ -z "$GLC" ]; then
  echo "run.sh: neither psoracle nor glc available; nothing to compare" >&2
  exit 3
fi

# "--glc <psoracle>" checks the runner itself: the reference takes no "run"
# subcommand and is held to NAME.expected, bugs included.
GLC_IS_REFERENCE=0
if [ -n "$GLC" ] && [ "$(basename "$GLC")" = psoracle ]; then
  GLC_IS_REFERENCE=1
fi

TMP=$(mktemp -d "${TMPDIR:-/tmp}/differential.XXXXXX")
trap 'rm -rf "$TMP"' EXIT INT TERM

# run_one RUNNER-COMMAND... : runs one script in the cases folder and prints
# its stdout followed by "[exit N]".  $args and $lines come from the caller.
run_one() {
  # shellcheck disable=SC2086
  (cd "$CASES" && timeout "$TIMEOUT" "$@" $args "$name.pas" $lines 2>/dev/null; echo "[exit $?]")
}

# Reduces a compile-error output to what must match: the position of the
# first message and the exit line.  Other outputs pass unchanged.
normalise() {
  if [ "$(tail -n 1 "$1")" = "[exit 1]" ]; then
    sed -n 's/^\[Error\] *(\([0-9]*:[0-9]*\)).*/[Error] (\1)/p' "$1" | head -n 1
    echo "[exit 1]"
  else
    cat "$1"
  fi
}

# report NAME WHO WANT-LABEL WANT-FILE ACTUAL-FILE: one line naming the case,
# then the first lines of the difference (< wanted, > got), indented.
report() {
  echo "FAIL $1 ($2): output differs from $3"
  diff "$4" "$5" | grep '^[<>]' | head -n 8 | sed 's/^/    /'
}

pass=0
fail=0
for src in "$CASES"/*.pas; do
  [ -f "$src" ] || continue
  name=$(basename "$src" .pas)
  case "$name" in *"$FILTER"*) ;; *) continue ;; esac
  args=""; [ -f "$CASES/$name.args" ] && args=$(cat "$CASES/$name.args")
  lines=""; [ -f "$CASES/$name.lines" ] && lines="$name.lines"
  expected="$CASES/$name.expected"
  ok=1

  if [ $REGEN = 1 ]; then
    run_one "$PSO" > "$expected"
    echo "regen $name: $(tail -n 1 "$expected")"
    continue
  fi

  if [ ! -f "$expected" ]; then
    echo "FAIL $name: no $name.expected (run.sh --regen $name)"
    fail=$((fail + 1))
    continue
  fi

  if [ -n "$PSO" ]; then
    run_one "$PSO" > "$TMP/pso"
    if ! cmp -s "$expected" "$TMP/pso"; then
      report "$name" psoracle "$name.expected" "$expected" "$TMP/pso"
      ok=0
    fi
  fi

  if [ -n "$GLC" ]; then
    want="$expected"
    if [ $GLC_IS_REFERENCE = 0 ] && [ -f "$CASES/$name.glc.expected" ]; then
      want="$CASES/$name.glc.expected"
    fi
    if [ $GLC_IS_REFERENCE = 1 ]; then
      run_one "$GLC" > "$TMP/glc"
    else
      run_one "$GLC" run > "$TMP/glc"
    fi
    normalise "$want" > "$TMP/want.n"
    normalise "$TMP/glc" > "$TMP/glc.n"
    if ! cmp -s "$TMP/want.n" "$TMP/glc.n"; then
      report "$name" glc "$(basename "$want")" "$TMP/want.n" "$TMP/glc.n"
      ok=0
    fi
  fi

  if [ $ok = 1 ]; then pass=$((pass + 1)); else fail=$((fail + 1)); fi
done

[ $REGEN = 1 ] && exit 0
echo "differential: $pass passed, $fail failed"
[ $fail = 0 ] && [ $pass -gt 0 ]

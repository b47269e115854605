#!/bin/sh
# Compile speed and compiled size on a large script: generates a script of about LINES lines (default 2000) made
# of keyword rules such as traders write (one function per rule: string tests, arithmetic, case, loops), then
# compiles it R times with glc (and with the reference runner when found, for comparison) and prints the best
# time and the compiled file's size.  Prints figures, never fails on time.
#
#   compile_speed.sh --glc PATH [--psoracle PATH] [--lines N] [--runs R]
set -u

GLC=""
PSO=${PSORACLE:-${XDG_CACHE_HOME:-$HOME/.cache}/psoracle/psoracle}
LINES=2000
RUNS=5
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || { echo "usage: compile_speed.sh --glc PATH [--psoracle PATH] [--lines N] [--runs R]" >&2; exit 3; }
  case "$1" in
    --glc) GLC=$2 ;;
    --psoracle) PSO=$2 ;;
    --lines) LINES=$2 ;;
    --runs) RUNS=$2 ;;
    *) echo "unknown option $1" >&2; exit 3 ;;
  esac
  shift 2
done
[ -x "$GLC" ] || { echo "glc not found: $GLC" >&2; exit 3; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SCRIPT=$WORK/big.pas

# Each rule takes 26 lines (its function, a blank line, its call); the frame about 12.
RULES=$(( (LINES - 12) / 26 ))
{
  echo "var Hits, Score: Integer; Last: string;"
  i=1
  while [ $i -le "$RULES" ]; do
    cat <<PAS
function Rule$i(const U: string; Level: Integer): Integer;
var k, n: Integer; w: string;
begin
  Result := 0;
  w := 'KEYWORD$i';
  if Pos(w, U) > 0 then Result := Result + $i mod 7 + 1;
  n := Length(U);
  for k := 1 to n do
    if U[k] = '%' then Inc(Result);
  case Level of
    0: Result := Result * 2;
    1, 2: Result := Result + Level;
    3..9: Result := Result - 1;
  else
    Result := Result div 2;
  end;
  while Result > 100 do
    Result := Result - 100;
  if (Result > 3) and (Pos('NOT', U) = 0) then
  begin
    Last := Copy(U, 1, 20) + IntToStr(Result);
    Score := Score + Result;
  end;
end;

PAS
    i=$((i + 1))
  done
  echo "procedure Start(Headline, Source: string);"
  echo "var U: string; L: Integer;"
  echo "begin"
  echo "  U := UpperCase(Headline);"
  echo "  L := Length(Source) mod 10;"
  i=1
  while [ $i -le "$RULES" ]; do
    echo "  Hits := Hits + Rule$i(U, L);"
    i=$((i + 1))
  done
  echo "end;"
  echo ""
  echo "begin"
  echo "end."
} > "$SCRIPT"

lines=$(wc -l < "$SCRIPT")
best_ms() {  # command...: best wall time of RUNS runs, in milliseconds
  best=""
  r=0
  while [ $r -lt "$RUNS" ]; do
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000 ))
    if [ -z "$best" ] || [ $ms -lt "$best" ]; then best=$ms; fi
    r=$((r + 1))
  done
  printf '%d.%03d' $((best / 1000)) $((best % 1000))
}

echo "script: $lines lines, $RULES rule functions"
ms=$(best_ms "$GLC" compile "$SCRIPT" "$WORK/big.exn") || exit 1
echo "glc compile: best of $RUNS: $ms ms (process start included); compiled size $(wc -c < "$WORK/big.exn") bytes"
if [ -x "$PSO" ]; then
  # The reference has no compile-only mode: it compiles, writes the compiled file and runs the empty main block.
  ms=$(best_ms "$PSO" --dump "$WORK/big.pso" "$SCRIPT") &&
    echo "psoracle compile (+ dump, empty run): best of $RUNS: $ms ms; compiled size $(wc -c < "$WORK/big.pso") bytes"
fi

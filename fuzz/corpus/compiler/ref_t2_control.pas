{ From the reference runner's own tests: statements, routines, var parameters, arithmetic semantics,
  exceptions.  Also exercises case-insensitive keywords and identifiers. }
type
  TQuote = record
    Sym: string;
    Qty: Integer;
  end;

const
  LIMIT = 4;

var
  Counter: Integer;
  Fixed: array[1..3] of Integer;
  Dyn: array of string;
  Q: TQuote;
  i, j, n, z: Integer;
  s, a, b: string;
  d: Double;

{ var parameters: caller's variables must change }
procedure Swap(var x, y: string);
var tmp: string;
begin
  tmp := x; x := y; y := tmp;
end;

procedure SplitPair(const src: string; var left, right: string; var ok: Boolean);
var p: Integer;
begin
  p := Pos('=', src);
  ok := p > 0;
  if ok then
  begin
    left := Copy(src, 1, p - 1);
    right := Copy(src, p + 1, Length(src));
  end;
end;

procedure Bump(var k: Integer; by: Integer);
begin
  k := k + by;
  by := 0;            { value parameter: must not leak to the caller }
end;

function Fib(k: Integer): Integer;
begin
  if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2);
end;

function Classify(k: Integer): string;
begin
  Result := 'big';
  if k < 10 then Exit;          { Exit keeps the Result assigned so far }
  Result := 'small?';
end;

function LocalsAreZeroed: string;
var ls: string; li: Integer; lb: Boolean;
begin
  Result := '[' + ls + ']' + IntToStr(li);
  if not lb then Result := Result + ' false';
end;

procedure Later(k: Integer); forward;
procedure CallsLater; begin Later(7); end;
procedure Later(k: Integer); begin WriteLn('forward ' + IntToStr(k)); end;

var ok: Boolean;
BEGIN
  { --- loops --- }
  s := '';
  for i := 1 to LIMIT do s := s + IntToStr(i);
  WriteLn('for=' + s + ' after=' + IntToStr(i));          { loop var ends at LIMIT+1 }
  s := '';
  for i := 3 downto 1 do s := s + IntToStr(i);
  WriteLn('downto=' + s + ' after=' + IntToStr(i));       { ends at 0 }
  n := 0;
  for i := 1 to 10 do
  begin
    if i mod 2 = 0 then Continue;
    if i > 7 then Break;
    n := n + i;
  end;
  WriteLn('break/continue sum=' + IntToStr(n) + ' i=' + IntToStr(i));
  n := 100; j := 0;
  while n > 1 do begin n := n div 3; j := j + 1; end;
  WriteLn('while n=' + IntToStr(n) + ' steps=' + IntToStr(j));
  n := 0;
  repeat n := n + 5 until n > 12;                          { body runs at least once }
  WriteLn('repeat=' + IntToStr(n));
  for i := 5 to 1 do WriteLn('never');                     { empty range: no iteration }

  { --- case: values, lists, ranges, else, strings --- }
  s := '';
  for i := 0 to 6 do
    case i of
      0: s := s + 'z';
      1, 2: s := s + 'l';
      3..5: s := s + 'r';
    else
      s := s + 'e';
    end;
  WriteLn('case int=' + s);
  a := 'sell';
  case a of
    'buy': WriteLn('case str buy');
    'sell': WriteLn('case str sell');
  else
    WriteLn('case str else');
  end;
  a := 'SELL';
  case a of
    'sell': WriteLn('case str is case-insensitive');
  else
    WriteLn('case str is case-sensitive');
  end;

  { --- routines --- }
  a := 'left'; b := 'right';
  Swap(a, b);
  WriteLn('swap=' + a + ',' + b);
  SplitPair('key=value=x', a, b, ok);
  if ok then WriteLn('split=' + a + '|' + b);
  SplitPair('novalue', a, b, ok);
  if not ok then WriteLn('split failed, vars kept=' + a + '|' + b);
  n := 1; j := 5;
  Bump(n, j);
  WriteLn('bump n=' + IntToStr(n) + ' j=' + IntToStr(j));
  WriteLn('fib 20=' + IntToStr(Fib(20)));
  WriteLn('exit=' + Classify(3) + ',' + Classify(30));
  WriteLn('locals=' + LocalsAreZeroed + ' global=' + IntToStr(Counter));
  CallsLater;

  { --- case-insensitive identifiers and keywords --- }
  counter := 1; COUNTER := Counter + 1;
  If CoUnTeR = 2 Then writeln('identifiers are case-insensitive');

  { --- records and arrays --- }
  Q.Sym := 'ACME'; Q.Qty := 3;
  with Q do WriteLn('record=' + Sym + ' x' + IntToStr(Qty));
  for i := 1 to 3 do Fixed[i] := i * 10;
  WriteLn('static=' + IntToStr(Fixed[1] + Fixed[2] + Fixed[3]) + ' low=' + IntToStr(Low(Fixed)) + ' high=' + IntToStr(High(Fixed)));
  SetArrayLength(Dyn, 2);
  Dyn[0] := 'a'; Dyn[1] := 'b';
  SetLength(Dyn, 3);
  Dyn[2] := 'c';
  WriteLn('dynamic len=' + IntToStr(GetArrayLength(Dyn)) + ' high=' + IntToStr(High(Dyn)) + ' ' + Dyn[0] + Dyn[1] + Dyn[2]);

  { --- arithmetic --- }
  i := 7; j := 2;
  WriteLn('int / int=' + IntToStr(i / j) + ' div=' + IntToStr(i div j) + ' mod=' + IntToStr(i mod j));
  d := i / j;
  WriteLn('double := int/int -> ' + FloatToStr(d));
  d := i / 2.0;
  WriteLn('int / real -> ' + FloatToStr(d));
  WriteLn('neg div=' + IntToStr(-7 div 2) + ' neg mod=' + IntToStr(-7 mod 3) + ' shl=' + IntToStr(1 shl 10)
    + ' shr=' + IntToStr(1024 shr 3) + ' and=' + IntToStr(12 and 10) + ' or=' + IntToStr(12 or 3) + ' xor=' + IntToStr(12 xor 10));
  i := 2147483647; i := i + 1;
  WriteLn('overflow wraps=' + IntToStr(i));
  WriteLn('round half-even 0.5=' + IntToStr(Round(0.5)) + ' 1.5=' + IntToStr(Round(1.5)) + ' 2.5=' + IntToStr(Round(2.5))
    + ' -2.5=' + IntToStr(Round(-2.5)) + ' 2.6=' + IntToStr(Round(2.6)) + ' trunc -2.7=' + IntToStr(Trunc(-2.7)));

  { --- exceptions --- }
  z := 0;
  try
    i := 10 div z;
    WriteLn('not reached');
  except
    WriteLn('div0 caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    try
      RaiseException(erCustomError, 'inner failure');
    finally
      WriteLn('finally ran');
    end;
  except
    WriteLn('outer caught: ' + ExceptionParam);
  end;
  try
    try
      RaiseException(erCustomError, 'again');
    except
      WriteLn('handler 1');
      RaiseLastException;
    end;
  except
    WriteLn('handler 2: ' + ExceptionParam);
  end;
  s := 'abc';
  try
    s[9] := 'x';
  except
    WriteLn('string write range: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('end of main');
END.

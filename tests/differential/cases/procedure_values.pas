{ Procedure values: assigned with @, called through variables and parameters, compared, nil. }
type
  TNotify = procedure(Sender: TObject);
  TIntFn = function(a: Integer): Integer;
  TBump = procedure(var x: Integer; by: Integer);
  TJoin = function(const a, b: string): string;
var
  n, m: TNotify; f: TIntFn; b: TBump; j: TJoin; i, k: Integer;
  fns: array[0..2] of TIntFn;

procedure Hello(Sender: TObject); begin WriteLn('hello'); end;
procedure Other(Sender: TObject); begin WriteLn('other'); end;
function Twice(a: Integer): Integer; begin Result := a * 2; end;
function Square(a: Integer): Integer; begin Result := a * a; end;
function Negate(a: Integer): Integer; begin Result := -a; end;
procedure Bump(var x: Integer; by: Integer); begin x := x + by; end;
function Join(const a, b: string): string; begin Result := a + '+' + b; end;
function Apply(fn: TIntFn; v: Integer): Integer; begin Result := fn(v) + 1; end;
function Pick(k: Integer): TIntFn;
begin
  case k of
    0: Result := @Twice;
    1: Result := @Square;
  else
    Result := @Negate;
  end;
end;

begin
  n := @Hello; n(nil);
  m := @Other; m(nil);
  if n <> m then WriteLn('different');
  m := n; if n = m then WriteLn('same'); m(nil);
  f := @Twice; WriteLn(IntToStr(f(21)));
  WriteLn(IntToStr(Apply(@Square, 7)) + ' ' + IntToStr(Apply(f, 7)));
  b := @Bump; i := 40; b(i, 2); WriteLn(IntToStr(i));
  j := @Join; WriteLn(j('a', 'b'));
  fns[0] := @Twice; fns[1] := @Square; fns[2] := @Negate;
  for k := 0 to 2 do WriteLn(IntToStr(fns[k](k + 3)));
  for k := 0 to 2 do begin f := Pick(k); WriteLn(IntToStr(f(5))); end;
  f := nil;
  if f = nil then WriteLn('nil now');
  try
    WriteLn(IntToStr(f(1)));
  except
    WriteLn('call of nil: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
end.

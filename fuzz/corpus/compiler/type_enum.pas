{ Enumerations: Ord, Succ/Pred (no range check: Succ of the last value is
  its count, Pred of the first is 255), Inc/Dec, equality, case and for
  over an enumeration, enum-typed parameters and results. }
type
  TSignal = (sgNone, sgBuy, sgSell, sgCancel);
var
  s: TSignal;
  n: Integer;
  names: string;

function Name(x: TSignal): string;
begin
  case x of
    sgNone: Result := 'none';
    sgBuy: Result := 'buy';
    sgSell: Result := 'sell';
  else
    Result := 'other(' + IntToStr(Ord(x)) + ')';
  end;
end;

function Opposite(x: TSignal): TSignal;
begin
  Result := x;
  if x = sgBuy then Result := sgSell
  else if x = sgSell then Result := sgBuy;
end;

begin
  s := sgBuy;
  WriteLn('ord=' + IntToStr(Ord(s)) + ' name=' + Name(s) + ' opposite=' + Name(Opposite(s)));
  s := Succ(s);
  WriteLn('succ=' + Name(s));
  s := sgCancel;
  s := Succ(s);
  WriteLn('succ of last=' + IntToStr(Ord(s)));
  s := sgNone;
  s := Pred(s);
  WriteLn('pred of first=' + IntToStr(Ord(s)));
  s := sgNone;
  Inc(s);
  WriteLn('inc=' + Name(s));
  Dec(s); Dec(s);
  WriteLn('dec twice=' + Name(s));
  names := '';
  for s := sgNone to sgCancel do names := names + Name(s) + ',';
  WriteLn('for=' + names);
  names := '';
  for s := sgCancel downto sgBuy do names := names + Name(s) + ',';
  WriteLn('downto=' + names);
  s := sgSell;
  if s <> sgBuy then WriteLn('not equal');
  n := Ord(s) * 10;
  WriteLn('arith on ord=' + IntToStr(n) + ' size=' + IntToStr(SizeOf(s)));
end.

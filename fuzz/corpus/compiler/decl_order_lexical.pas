{ Declaration sections may come in any order and repeat (const, var,
  type between routines); empty parentheses on calls; identifiers with
  underscores and digits; hex numbers and #$nn character codes; real
  literals with exponents; a #10 inside a WriteLn text is printed as is. }
const A = 1;
var x: Integer;

procedure P1();
begin
  x := x + A;
end;

type
  TR = record
    v: Integer;
  end;

const B = A + 1;
var
  r: TR;
  _under_score1: Integer;

function F: Integer;
begin
  Result := B * 10;
end;

var late: string;

begin
  P1(); P1;
  r.v := F();
  _under_score1 := $1f + $A0;
  late := #$41#66'c'#$0A'd';
  WriteLn(IntToStr(x) + ' ' + IntToStr(r.v) + ' ' + IntToStr(_under_score1) + ' ' + late);
  WriteLn(FloatToStr(1.0) + ' ' + FloatToStr(2E2) + ' ' + FloatToStr(1.5e-3) + ' ' + FloatToStr(7e+1));
end.

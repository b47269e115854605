{ Static arrays: any low bound, Low/High, multi-dimensional (array of
  array), arrays of strings, whole-array copy, passing to a routine. }
type
  TRow = array[1..3] of Integer;
  TGrid = array[0..2] of TRow;
  TNames = array[-1..1] of string;
var
  a, b: TRow;
  g: TGrid;
  n: TNames;
  i, j, sum: Integer;

function Total(const r: TRow): Integer;
var k: Integer;
begin
  Result := 0;
  for k := Low(r) to High(r) do Result := Result + r[k];
end;

procedure Fill(var r: TRow; v: Integer);
var k: Integer;
begin
  for k := 1 to 3 do r[k] := v * k;
end;

begin
  Fill(a, 2);
  b := a;
  b[1] := 100;
  WriteLn('a=' + IntToStr(a[1]) + ',' + IntToStr(a[2]) + ',' + IntToStr(a[3]) + ' b[1]=' + IntToStr(b[1]) + ' total(a)=' + IntToStr(Total(a)));
  WriteLn('low=' + IntToStr(Low(a)) + ' high=' + IntToStr(High(a)) + ' len=' + IntToStr(Length(a)));
  for i := 0 to 2 do
    for j := 1 to 3 do
      g[i][j] := i * 10 + j;
  sum := 0;
  for i := 0 to 2 do sum := sum + Total(g[i]);
  WriteLn('grid g[2][3]=' + IntToStr(g[2][3]) + ' sum=' + IntToStr(sum));
  n[-1] := 'minus'; n[0] := 'zero'; n[1] := 'plus';
  WriteLn('negative low bound: ' + n[-1] + ' ' + n[0] + ' ' + n[1] + ' low=' + IntToStr(Low(n)));
end.

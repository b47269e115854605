{ Boolean: not/and/or/xor, comparisons yield Boolean, Ord of a Boolean
  expression, Boolean function results. }
var
  a, b, c: Boolean;
  i: Integer;

function YesNo(x: Boolean): string;
begin
  if x then Result := 'Y' else Result := 'N';
end;

begin
  a := True; b := False;
  WriteLn('and=' + YesNo(a and b) + ' or=' + YesNo(a or b) + ' xor=' + YesNo(a xor b) + ' xor2=' + YesNo(a xor a)
    + ' not=' + YesNo(not a));
  c := 3 > 2;
  WriteLn('comparison value=' + YesNo(c) + ' eq=' + YesNo(a = c) + ' ne=' + YesNo(a <> b));
  i := Ord(a);
  WriteLn('ord(var true)=' + IntToStr(i) + ' ord(var false)=' + IntToStr(Ord(b)));
  c := not (a and not b) or b;
  WriteLn('nested=' + YesNo(c));
  c := (1 < 2) = (3 < 4);
  WriteLn('compare of comparisons=' + YesNo(c));
  i := 0;
  while not c do i := i + 1;
  WriteLn('while not true ran ' + IntToStr(i));
  WriteLn('size=' + IntToStr(SizeOf(a)));
end.

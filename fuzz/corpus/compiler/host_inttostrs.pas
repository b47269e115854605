{ IntToStrS: decimal text with '+' in front of values of 1 and more. }
var
  i: Integer;
  b: Byte;
  s: string;
begin
  WriteLn('0=' + IntToStrS(0) + ' 7=' + IntToStrS(7) + ' -7=' + IntToStrS(-7) + ' 1=' + IntToStrS(1) + ' -1=' + IntToStrS(-1));
  WriteLn('max=' + IntToStrS(2147483647) + ' min=' + IntToStrS(-2147483647 - 1));
  s := '';
  for i := -2 to 2 do s := s + IntToStrS(i * 5) + ' ';
  WriteLn('range ' + s);
  b := 200;
  WriteLn('byte=' + IntToStrS(b));
end.

{ Currency: fixed point with 4 decimals, exact for money sums that Double
  cannot hold exactly; conversions round to 4 decimals. }
var
  c, total: Currency;
  d: Double;
  i: Integer;
begin
  c := 1.23456;
  WriteLn('1.23456 as currency=' + FloatToStr(c));
  c := 0.1;
  total := 0;
  for i := 1 to 10 do total := total + c;
  if total = 1 then WriteLn('ten times 0.1 is exactly 1');
  d := 0;
  for i := 1 to 10 do d := d + 0.1;
  if d <> 1 then WriteLn('ten times 0.1 as double is not 1');
  c := 19.99;
  c := c * 3;
  WriteLn('19.99*3=' + FloatToStr(c));
  c := 10;
  c := c / 3;
  WriteLn('10/3=' + FloatToStr(c));
  c := -2.5;
  WriteLn('round(-2.5)=' + IntToStr(Round(c)) + ' trunc=' + IntToStr(Trunc(c)));
  c := 0.00005;
  WriteLn('0.00005 -> ' + FloatToStr(c));
  c := 0.00015;
  WriteLn('0.00015 -> ' + FloatToStr(c));
  c := 12345678.9012;
  WriteLn('large ' + FloatToStr(c));
  d := c;
  WriteLn('to double ' + FloatToStr(d));
  c := -7.5;
  WriteLn('negative ' + FloatToStr(c) + ' fixed ' + FloatToStrFixed(0, c));
  if c > 1000000 then WriteLn('compare ok');
  WriteLn('size ' + IntToStr(SizeOf(c)));
end.

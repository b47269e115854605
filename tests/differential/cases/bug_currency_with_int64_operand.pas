{ Currency with an Int64 operand: the same values through an Integer and through a Currency for comparison. }
var c, d: Currency; i: Int64; n: Integer;
begin
  i := 3; n := 3;
  c := 10; c := c / i; WriteLn('10 / Int64 3: ' + FloatToStr(c));
  c := 10; c := c / n; WriteLn('10 / Integer 3: ' + FloatToStr(c));
  c := 10; c := c * i; WriteLn('10 * Int64 3: ' + FloatToStr(c));
  c := 10; c := c + i; WriteLn('10 + Int64 3: ' + FloatToStr(c));
  c := 10; c := c - i; WriteLn('10 - Int64 3: ' + FloatToStr(c));
  c := 10; d := i; c := c / d; WriteLn('10 / Currency 3: ' + FloatToStr(c));
end.

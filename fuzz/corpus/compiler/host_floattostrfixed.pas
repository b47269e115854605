{ FloatToStrFixed(Digits, Value) works on the exact Currency value: rounds
  half away from zero, '.' separator, no thousands separator, negative
  Digits count as 0, more than 4 digits pad with zeros, no '-' on a value
  that rounds to zero.  FloatToStrFixedS adds '+' when the value is above 0. }
var
  c: Currency;
  d: Double;
begin
  WriteLn('2 digits ' + FloatToStrFixed(2, 1234.5) + ' ' + FloatToStrFixed(2, -0.25) + ' ' + FloatToStrFixed(2, 0) + ' ' + FloatToStrFixed(2, 1234567.891));
  WriteLn('half away ' + FloatToStrFixed(2, 1.005) + ' ' + FloatToStrFixed(2, -1.005) + ' ' + FloatToStrFixed(0, 2.5) + ' ' + FloatToStrFixed(0, -2.5) + ' ' + FloatToStrFixed(1, 0.05));
  WriteLn('to zero ' + FloatToStrFixed(0, -0.4) + ' ' + FloatToStrFixed(1, -0.04) + ' ' + FloatToStrFixed(3, 0.0005) + ' ' + FloatToStrFixed(3, -0.0004));
  WriteLn('digits ' + FloatToStrFixed(-1, 7.5) + ' ' + FloatToStrFixed(0, 7.49) + ' ' + FloatToStrFixed(4, 3.14159) + ' ' + FloatToStrFixed(6, 3.14159) + ' ' + FloatToStrFixed(8, -2));
  d := 0.00005;
  WriteLn('double to currency ' + FloatToStrFixed(4, d) + ' ' + FloatToStrFixed(4, 0.00015) + ' ' + FloatToStrFixed(4, 0.00025));
  c := 1.2345;
  WriteLn('currency var ' + FloatToStrFixed(3, c) + ' ' + FloatToStrFixed(2, c * 100));
  WriteLn('int arg ' + FloatToStrFixed(1, 42) + ' ' + FloatToStrFixed(2, -3));
  WriteLn('S ' + FloatToStrFixedS(1, 0.5) + ' ' + FloatToStrFixedS(1, 0) + ' ' + FloatToStrFixedS(1, -0.5) + ' ' + FloatToStrFixedS(2, 12.345)
    + ' ' + FloatToStrFixedS(1, 0.04) + ' ' + FloatToStrFixedS(1, -0.04) + ' ' + FloatToStrFixedS(0, 0.0001));
end.

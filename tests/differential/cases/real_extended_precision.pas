{ Extended is the 80-bit x87 type (10 bytes, 64-bit mantissa, exponent
  range up to about 1e4932): it keeps bits that a Double loses, and
  Currency converts to it exactly enough to print its 4 decimals. Its
  text is rounded twice, to 21 digits and then to 12 decimals, and the
  second rounding takes ...4999...8x as a half. }
var
  e, e2: Extended;
  d: Double;
  c: Currency;
begin
  e := 1;
  e := e / 3;
  d := e;
  if e <> d then WriteLn('extended holds more bits than double');
  e2 := d;
  WriteLn('difference x 1e18 = ' + FloatToStr((e - e2) * 1e18));
  e := 12345678.9012;
  d := 12345678.9012;
  WriteLn('extended ' + FloatToStr(e) + ' double ' + FloatToStr(d));
  c := 12345678.9012;
  WriteLn('currency ' + FloatToStr(c));
  e := 1e4000;
  WriteLn('beyond double range: ' + FloatToStr(e / 1e3990));
  WriteLn('size ' + IntToStr(SizeOf(e)));
  e := 4000000000.5; e := -1e10 / e;
  WriteLn('near a half ' + FloatToStr(e));
  d := -0.25; e := 251 - 28088; e := e / (Abs(0.3333 / (Abs(d) + 0.5)) + 0.5);
  WriteLn('near a half ' + FloatToStr(e));
  e := 1; e := e / 3; e := e - 0.0000000000005;
  WriteLn('not near ' + FloatToStr(e));
end.

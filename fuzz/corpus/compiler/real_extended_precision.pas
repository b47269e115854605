{ Extended is the 80-bit x87 type (10 bytes, 64-bit mantissa, exponent
  range up to about 1e4932): it keeps bits that a Double loses, and
  Currency converts to it exactly enough to print its 4 decimals. }
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
end.

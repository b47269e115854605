{ Casts of variables: ordinal types into one another (enumerations and Boolean included), numbers into
  floating-point and Currency, characters and strings into strings, anything into and out of a Variant; and
  casts of constants that stay integers or characters. }
type TE = (ea, eb, ec);
var i: Integer; b: Byte; u: Cardinal; l: Int64; c: Char; o: Boolean; e: TE; d: Double; s: string; v: Variant;
    w: Word; h: ShortInt; cu: Currency;
begin
  i := 300; c := 'B'; o := True; e := ec; d := 2.5; s := 'xy'; v := 7; cu := 1.25;
  b := Byte(i); w := Word(-1); h := ShortInt(i); u := Cardinal(h); l := Int64(u);
  WriteLn(IntToStr(b) + ' ' + IntToStr(w) + ' ' + IntToStr(h) + ' ' + IntToStr(u) + ' ' + IntToStr(l));
  WriteLn(IntToStr(Integer(e)) + ' ' + IntToStr(Integer(o)) + ' ' + IntToStr(Ord(TE(b mod 3))));
  if Boolean(b) then WriteLn('Boolean(44) is true');
  d := Double(i) / 7; WriteLn(FloatToStr(d));
  d := Double(cu); WriteLn(FloatToStr(d));
  cu := Currency(i); WriteLn(FloatToStr(cu));
  s := string(c) + string(s); WriteLn(s);
  c := Char(v); WriteLn(IntToStr(Ord(c)));
  v := Variant(e); WriteLn(IntToStr(Integer(v)));
  i := Integer(v) + Integer(Byte(511)) + Int64(-1); WriteLn(IntToStr(i));
  c := Char(#66); i := Integer(Ord('A')) + Cardinal(-1); WriteLn(string(c) + IntToStr(i));
end.

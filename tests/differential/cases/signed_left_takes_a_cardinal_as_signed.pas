{ Division, remainder and comparison of a signed left operand with a Cardinal: the Cardinal counts as its signed
  32-bit pattern (smaller unsigned types keep their values); Ord differences are Cardinals. }
var i: Integer; u: Cardinal; e: Int64; s: SmallInt; w: Word; b: Byte;
begin
  i := 100; u := 4294967295; s := 100; w := 65535; b := 7;
  e := i + u; WriteLn(IntToStr(e));
  e := i - u; WriteLn(IntToStr(e));
  e := i * u; WriteLn(IntToStr(e));
  e := i div u; WriteLn(IntToStr(e));
  e := i mod u; WriteLn(IntToStr(e));
  if i < u then WriteLn('lt') else WriteLn('nlt');
  e := s mod w; WriteLn(IntToStr(e));
  e := s div w; WriteLn(IntToStr(e));
  e := s + w; WriteLn(IntToStr(e));
  e := b mod w; WriteLn(IntToStr(e));
  e := i mod w; WriteLn(IntToStr(e));
  u := 48; e := -127 mod u; WriteLn(IntToStr(e));
  e := 127 mod u; WriteLn(IntToStr(e));
  u := 4294967248; e := 127 div u; WriteLn(IntToStr(e));
  e := -127 div u; WriteLn(IntToStr(e));
  WriteLn(IntToStr(127 mod (Ord('A') - Ord('q'))));
end.

{ A comparison or division with an unsigned left operand (Byte, Word, Cardinal) and a signed 32-bit right operand
  is unsigned: a negative right operand counts as its 32-bit pattern. }
var b: Byte; w: Word; c: Cardinal; i: Integer; sh: ShortInt;
begin
  b := 1; i := -2147483646; w := 3; sh := -2; c := 1;
  if b < i then WriteLn('b < i') else WriteLn('b >= i');
  if i < b then WriteLn('i < b') else WriteLn('i >= b');
  if c < -1 then WriteLn('c < -1') else WriteLn('c >= -1');
  i := -1; if c < i then WriteLn('c < i') else WriteLn('c >= i');
  if b < -1 then WriteLn('b < -1') else WriteLn('b >= -1');
  if b > -1 then WriteLn('b > -1') else WriteLn('b <= -1');
  if w > sh then WriteLn('w > sh') else WriteLn('w <= sh');
  if w = sh then WriteLn('w = sh') else WriteLn('w <> sh');
  i := 257; if b = i then WriteLn('b = 257') else WriteLn('b <> 257');
  i := 5; if b < i then WriteLn('1 < 5') else WriteLn('1 >= 5');
  w := 80; i := -7; WriteLn(IntToStr(w mod i) + ' ' + IntToStr(w div i));
  c := 80; WriteLn(IntToStr(c mod i) + ' ' + IntToStr(c div i));
  b := 80; WriteLn(IntToStr(b div i) + ' ' + IntToStr(b mod 7) + ' ' + IntToStr(b div -7));
  i := -80; w := 7; WriteLn(IntToStr(i div w) + ' ' + IntToStr(i mod w));
end.

{ A Variant with an integer or a text: the other side becomes a Variant, so integers are added in 64 bits and
  texts are joined, or read as numbers where the Variant holds one. }
var v: Variant; i, k: Integer; b: Byte; s: string; c: Char;
begin
  v := -2147483647; i := 2; v := v * i; WriteLn(FloatToStr(v));
  v := 2147483647; v := v + i; WriteLn(FloatToStr(v));
  v := -2147483647; v := i * v; WriteLn(FloatToStr(v));
  v := 2147483647; k := v * i; WriteLn(IntToStr(k)); WriteLn(IntToStr(v * i));
  v := '5'; v := v + i; WriteLn(FloatToStr(v));
  v := 250; b := 10; v := v + b; WriteLn(FloatToStr(v));
  v := 'a'; s := 'x'; s := v + s; WriteLn(s); s := s + v; WriteLn(s);
  v := 'a'; c := 'z'; v := v + c; WriteLn(v); v := c + v; WriteLn(v);
  v := 5; v := 3 * v; WriteLn(FloatToStr(v)); v := 2147483647 + v; WriteLn(FloatToStr(v));
  v := 100 div v; WriteLn(FloatToStr(v));
  v := 5; s := 'x';
  try s := v + s; WriteLn(s); except WriteLn('not a number: ' + ExceptionParam); end;
end.

{ A Boolean in a Variant: True counts as -1 in arithmetic and as an integer, and stays True as a Boolean or text. }
var v, w: Variant; b: Boolean;
begin
  b := True; v := b; v := v * 1.5; WriteLn(FloatToStr(v));
  v := b; v := v + 1; WriteLn(FloatToStr(v));
  v := b; WriteLn(IntToStr(v));
  v := True; v := v * 2; WriteLn(FloatToStr(v)); if v then WriteLn('still true');
  v := True; w := 3; v := v / w; WriteLn(IntToStr(v));
  v := True; WriteLn(v);
  v := False; v := v - 1; WriteLn(FloatToStr(v));
  v := True; b := v; if b then WriteLn('b');
  v := 0; b := v; if not b then WriteLn('not b');
end.

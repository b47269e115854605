{ Variants: "/" and div divide as integers when the left side holds an integer (the right one rounded half to
  even) and as reals otherwise; mod always takes integers; Currency meets a Variant as a Double. }
var v, w: Variant; c: Currency;
procedure Show(const s: string; x: Variant); begin WriteLn(s + ' ' + FloatToStr(x)); end;
begin
  v := 7; w := 2; Show('7 div 2', v div w); Show('7 mod 2', v mod w); Show('7 / 2', v / w);
  v := -7; Show('-7 / 2', v / w); Show('-7 div 2', v div w); Show('-7 mod 2', v mod w);
  v := 7.5; Show('7.5 div 2', v div w); Show('7.5 / 2', v / w);
  v := 6.5; Show('6.5 div 2', v div w); Show('6.5 mod 2', v mod w);
  v := -7.5; Show('-7.5 mod 2', v mod w); w := 2.5; Show('-7.5 div 2.5', v div w); Show('-7.5 mod 2.5', v mod w);
  w := 2;
  v := 7; w := 2.5; Show('7 div 2.5', v div w); Show('7 mod 2.5', v mod w); Show('7 / 2.5', v / w);
  v := True; w := 3; Show('True / 3', v / w);
  v := 7; w := 0;
  try v := v div w; except WriteLn(IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam); end;
  try v := v / w; except WriteLn(IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam); end;
  v := 7.5;
  try v := v div w; except WriteLn(IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam); end;
  try v := v mod w; except WriteLn(IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam); end;
  c := 1.5; v := 2; Show('c * v', c * v); Show('c + v', c + v); Show('v - c', v - c); Show('c / v', c / v);
  c := 2.5; v := 2.5; if c = v then WriteLn('c = v');
  v := 3; if v > c then WriteLn('v > c');
end.

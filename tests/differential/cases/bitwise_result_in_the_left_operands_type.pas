{ and, or and xor give the left operand's type: a wider right operand's bits are cut to it (variables and constants). }
var sh: ShortInt; i: Integer; b: Byte; w: Word; sm: SmallInt; a: array of Integer;
begin
  sh := 6; i := 200; b := 3; w := 1; sm := -2; SetLength(a, 1);
  WriteLn(IntToStr(sh xor i) + ' ' + IntToStr(sh or i) + ' ' + IntToStr(sh and i));
  WriteLn(IntToStr(b or 256) + ' ' + IntToStr(b xor 511) + ' ' + IntToStr(w xor 70000) + ' ' + IntToStr(sm or 65536));
  WriteLn(IntToStr(i and sh) + ' ' + IntToStr(i xor sh) + ' ' + IntToStr(sh and -1));
  a[0] := (sh xor (i * 100)); WriteLn(IntToStr(a[0]));
end.

{ Cardinal and LongWord are unsigned 32-bit: they wrap at 2^32 and print
  as unsigned values. }
var
  c: Cardinal;
  lw: LongWord;
  i: Integer;
  i64: Int64;
begin
  c := 4294967295;
  WriteLn('cardinal max=' + IntToStr(c));
  c := c + 1;
  WriteLn('cardinal max+1=' + IntToStr(c));
  c := 0;
  c := c - 1;
  WriteLn('cardinal 0-1=' + IntToStr(c));
  i := -1;
  c := i;
  WriteLn('cardinal := -1 -> ' + IntToStr(c));
  lw := 3000000000;
  lw := lw + lw;
  WriteLn('longword 3e9+3e9=' + IntToStr(lw));
  lw := 10;
  i64 := lw * 1000000000;
  WriteLn('longword 10*1e9 into Int64=' + IntToStr(i64));
  c := 4000000000;
  if c > 2000000000 then WriteLn('unsigned compare: 4e9 > 2e9');
  WriteLn('cardinal div/mod ' + IntToStr(c div 7) + ' ' + IntToStr(c mod 7));
  WriteLn('shr on cardinal ' + IntToStr(c shr 28));
end.

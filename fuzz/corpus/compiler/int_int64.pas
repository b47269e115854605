{ Int64: 64-bit arithmetic, wrap at 2^63, conversions to and from text. }
var
  a, b: Int64;
  i: Integer;
  s: string;
begin
  a := 9223372036854775807;
  WriteLn('max=' + IntToStr(a));
  a := a + 1;
  WriteLn('max+1=' + IntToStr(a));
  a := 3000000000;
  b := a * 3;
  WriteLn('3e9*3=' + IntToStr(b));
  i := 2000000000;
  a := i;
  a := a + i;
  WriteLn('int64 + int=' + IntToStr(a));
  a := 10000000000;
  i := a;
  WriteLn('integer := 1e10 -> ' + IntToStr(i));
  a := -7000000000;
  WriteLn('div/mod ' + IntToStr(a div 3) + ' ' + IntToStr(a mod 3));
  WriteLn('strtoint64 ' + IntToStr(StrToInt64('123456789012345')) + ' def=' + IntToStr(StrToInt64Def('x', -5)));
  WriteLn('int64tostr ' + Int64ToStr(-9000000000));
  a := 1;
  a := a shl 40;
  WriteLn('1 shl 40=' + IntToStr(a));
  s := IntToStr(a);
  WriteLn('len=' + IntToStr(Length(s)) + ' size=' + IntToStr(SizeOf(a)));
  if a > 2147483647 then WriteLn('compare above 32 bits');
end.

{ Char: literals (#nn, 'x'), Ord/Chr, comparisons, Char + Char gives a
  string, Char in a string, UpperCase of a Char. }
var
  c, d: Char;
  s: string;
  i: Integer;
begin
  c := 'a';
  d := #66;
  WriteLn('chars ' + c + d + ' ord=' + IntToStr(Ord(c)) + ' chr=' + Chr(Ord(c) + 1));
  s := c + d;
  WriteLn('char+char=' + s + ' len=' + IntToStr(Length(s)));
  if c > d then WriteLn('a > B (byte order)');
  if (c >= 'a') and (c <= 'z') then WriteLn('lower letter');
  s := 'x1y2';
  for i := 1 to Length(s) do
    if (s[i] >= '0') and (s[i] <= '9') then WriteLn('digit at ' + IntToStr(i) + ': ' + s[i]);
  c := s[1];
  WriteLn('upper=' + UpperCase(c) + ' upper str=' + UpperCase(s));
  c := #0;
  s := 'a' + c + 'b';
  WriteLn('nul inside len=' + IntToStr(Length(s)));
  c := Chr(255);
  WriteLn('chr 255 ord=' + IntToStr(Ord(c)));
  c := '''';
  WriteLn('quote char=' + c);
  WriteLn('size=' + IntToStr(SizeOf(c)));
end.

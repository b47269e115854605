{ Indexing s[i] (1-based) for read and write, SetLength growing and
  shrinking, StrGet/StrSet, string built char by char. }
var
  s, t: string;
  i: Integer;
  c: Char;
begin
  s := 'abcdef';
  WriteLn('first=' + s[1] + ' last=' + s[Length(s)]);
  s[3] := 'X';
  WriteLn('after write=' + s);
  SetLength(s, 3);
  WriteLn('shrunk=' + s + ' len=' + IntToStr(Length(s)));
  SetLength(s, 5);
  WriteLn('grown len=' + IntToStr(Length(s)));
  s[4] := 'y'; s[5] := 'z';
  WriteLn('filled=' + s);
  t := '';
  for i := Length(s) downto 1 do t := t + s[i];
  WriteLn('reversed=' + t);
  c := StrGet(s, 2);
  StrSet('Q', 1, s);
  WriteLn('strget=' + c + ' strset=' + s);
  t := '';
  for i := 0 to 25 do t := t + Chr(Ord('a') + i);
  WriteLn('alphabet=' + t);
  SetLength(t, 0);
  WriteLn('cleared=[' + t + ']');
end.

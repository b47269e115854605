{ Length of a Char is 1, whatever it holds: variables, string elements and Copy of a Char. }
var c: Char; s: string; i: Integer;
begin
  c := 'x'; s := 'ab';
  WriteLn(IntToStr(Length(c)) + ' ' + IntToStr(Length(s[1]) + Length(c)));
  i := Length(Copy('a', 3, 3)); WriteLn(IntToStr(i));
  WriteLn(IntToStr(Length('a')) + ' ' + IntToStr(Length(Copy('ab', 3, 3))));
end.

{ A character is no number: Char(i) is refused, at the closing parenthesis (Chr converts). }
var i: Integer; c: Char;
begin
  i := 66;
  c := Char(i);
  WriteLn(c);
end.

{ A string literal that is not closed on its line. }
begin
  WriteLn('never closed);
end.

{ A missing semicolon between a declaration and the next. }
var
  a: Integer
  b: Integer;
begin
end.

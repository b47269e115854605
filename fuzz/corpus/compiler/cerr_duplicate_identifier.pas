{ A name declared twice in the same scope; a variable may not take the
  name of a type either. }
var
  price: Double;
  price: Integer;
begin
end.

{ A constant cannot be assigned to. }
const Limit = 10;
begin
  Limit := 5;
end.

{ Abs returns Extended; assigning it to an Integer is a type mismatch. }
var i: Integer;
begin
  i := -5;
  i := Abs(i);
end.

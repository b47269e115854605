{ Ord of a constant Boolean is a type mismatch. }
var i: Integer;
begin
  i := Ord(True);
end.

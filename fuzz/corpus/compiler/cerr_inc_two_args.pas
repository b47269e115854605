{ Inc and Dec take exactly one argument. }
var i: Integer;
begin
  i := 1;
  Dec(i, 5);
end.

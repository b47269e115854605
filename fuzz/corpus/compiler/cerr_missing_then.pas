{ if without then. }
var i: Integer;
begin
  if i > 0 WriteLn('positive');
end.

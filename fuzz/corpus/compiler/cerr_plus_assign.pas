{ There is no += operator. }
var i: Integer;
begin
  i += 1;
end.

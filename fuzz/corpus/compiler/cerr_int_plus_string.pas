{ No implicit Integer-to-string conversion in a concatenation. }
var count: Integer;
begin
  count := 3;
  WriteLn('count=' + count);
end.

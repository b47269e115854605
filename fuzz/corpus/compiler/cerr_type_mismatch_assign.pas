{ Assigning a string to an Integer variable. }
var n: Integer;
begin
  n := 'five';
end.

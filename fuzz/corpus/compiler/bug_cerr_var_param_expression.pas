{ A var parameter needs a variable, not an expression. }
var x: Integer;

procedure Bump(var n: Integer);
begin
  n := n + 1;
end;

begin
  x := 1;
  Bump(x + 1);
end.

{ Assigning to the function name is a call, not the result. }
function Twice(x: Integer): Integer;
begin
  Twice := x * 2;
end;

begin
  WriteLn(IntToStr(Twice(2)));
end.

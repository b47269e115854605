{ Calling a routine with the wrong number of arguments. }
function Add(a, b: Integer): Integer;
begin
  Result := a + b;
end;

begin
  WriteLn(IntToStr(Add(1, 2, 3)));
end.

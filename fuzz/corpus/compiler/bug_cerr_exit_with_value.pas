{ Exit takes no value in this dialect: Exit(3) is a compile error. }
function Three: Integer;
begin
  Exit(3);
end;

begin
  WriteLn(IntToStr(Three));
end.

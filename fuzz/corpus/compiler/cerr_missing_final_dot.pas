{ The main block must end with "end." }
begin
  WriteLn('x');
end;

{ An identifier that is declared nowhere; nothing of the script runs. }
var total: Integer;
begin
  WriteLn('must not run');
  total := totl + 1;
end.

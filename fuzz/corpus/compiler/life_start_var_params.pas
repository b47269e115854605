{ Start may declare its parameters var or const; what it assigns to them
  does not reach the next call. }
procedure Start(var Headline: string; const Source: string);
begin
  WriteLn('got ' + Headline + ' from ' + Source);
  Headline := 'changed';
  WriteLn('now ' + Headline);
end;

begin
end.

{ An unknown routine called inside a procedure body. }
procedure Start(Headline, Source: string);
begin
  if Pos('FED', Headline) > 0 then
    SendOrder(Headline);
end;

begin
end.

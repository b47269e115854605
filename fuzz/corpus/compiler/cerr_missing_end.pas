{ A begin without its end: the file ends first. }
procedure Start(Headline, Source: string);
begin
  if Headline <> '' then
  begin
    WriteLn(Headline);
end;

begin
end.

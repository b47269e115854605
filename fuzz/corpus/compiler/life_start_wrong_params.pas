{ Start must take exactly two parameters; the runner refuses the script
  before anything runs. }
procedure Start(Headline: string);
begin
  WriteLn(Headline);
end;

begin
  WriteLn('main');
end.

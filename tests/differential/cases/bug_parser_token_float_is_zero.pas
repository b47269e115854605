{ TParser.TokenFloat gives the number a float token spells. }
var m: TMemoryStream; p: TParser; s: string;
begin
  m := TMemoryStream.Create;
  s := '3.5e2 12. -0.25 7d';
  m.Write(s, Length(s));
  m.Position := 0;
  p := TParser.Create(m);
  while p.Token <> toEOF do
  begin
    WriteLn(p.TokenString + ' ' + FloatToStr(p.TokenFloat));
    p.NextToken;
  end;
end.

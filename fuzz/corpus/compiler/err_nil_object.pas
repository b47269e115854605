{ Calling a method of an object variable that was never created ends the
  run with "Null Pointer Exception" (Free included). }
var L: TStringList; n: Integer;

procedure Start(Headline, Source: string);
begin
  WriteLn('start ' + Headline);
  L.Add(Headline);
  WriteLn('not reached');
end;

begin
  WriteLn('main');
end.

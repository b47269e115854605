{ An error in the main block ends the run at once: Init, Start and DeInit
  are not called. }
var L: TStringList;

procedure Init;
begin
  WriteLn('init must not run');
end;

procedure Start(Headline, Source: string);
begin
  WriteLn('start must not run');
end;

begin
  WriteLn('main begins');
  L := TStringList.Create;
  L.Add('a');
  WriteLn('item ' + L[3]);
end.

{ Reading or writing a property of an object variable that was never
  created fails in the property's accessor: the engine reports
  "Could not call proc". }
var L: TStringList; n: Integer;

procedure Init;
begin
  WriteLn('init');
  n := L.Count;
  WriteLn('not reached');
end;

begin
  L := TStringList.Create;
  L.Add('x');
  L.Free;
  L := nil;
  WriteLn('freed and cleared');
end.

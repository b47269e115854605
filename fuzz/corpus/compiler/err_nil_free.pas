{ Free on a nil object variable is a method call on nil. }
var L: TStringList;

procedure DeInit;
begin
  WriteLn('deinit frees');
  L.Free;
  WriteLn('not reached');
end;

begin
  WriteLn('main');
end.

{ Init, Start and DeInit may be functions; their results are ignored.
  Routine names are matched without regard to case. }
function init: Boolean;
begin
  WriteLn('init function');
  Result := False;
end;

function START(h: string; s: string): Integer;
begin
  WriteLn('start function ' + h);
  Result := Length(h);
end;

function DeInit: string;
begin
  WriteLn('deinit function');
  Result := 'ignored';
end;

begin
end.

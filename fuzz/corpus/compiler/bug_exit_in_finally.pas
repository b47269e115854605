{ Exit inside try..finally must run the finally part and then leave the
  routine, also when the finally part calls a script procedure. }
var log: string;

procedure Note(const s: string);
begin
  log := log + s + ' ';
end;

procedure WithExit(stop: Boolean);
begin
  try
    Note('body');
    if stop then Exit;
    Note('rest');
  finally
    Note('finally');
  end;
  Note('after');
end;

function Find(const s: string): Integer;
var i: Integer;
begin
  Result := -1;
  for i := 1 to Length(s) do
    try
      if s[i] = 'x' then
      begin
        Result := i;
        Exit;
      end;
    finally
      Note('checked' + IntToStr(i));
    end;
  Note('loop finished');
end;

begin
  log := '';
  WithExit(True);
  WriteLn('exit: ' + log);
  log := '';
  WithExit(False);
  WriteLn('no exit: ' + log);
  log := '';
  WriteLn('found at ' + IntToStr(Find('abxd')));
  WriteLn('search: ' + log);
end.

{ Recursion that makes the engine's stack grow: every depth must come back
  exactly.  Results are checked in a loop of growing depths. }
function Depth(n: Integer): Integer;
begin
  if n = 0 then Result := 0 else Result := Depth(n - 1) + 1;
end;

function Chain(n: Integer): Integer;
begin
  if n = 0 then Result := 0 else Result := 1 + Chain(n - 1);
end;

var i, bad: Integer;
begin
  bad := 0;
  for i := 1 to 30 do
    if Depth(i * 20) <> i * 20 then
    begin
      WriteLn('depth ' + IntToStr(i * 20) + ' came back as ' + IntToStr(Depth(i * 20)));
      bad := bad + 1;
    end;
  WriteLn('wrong depths: ' + IntToStr(bad));
  WriteLn('chain 1000=' + IntToStr(Chain(1000)));
end.

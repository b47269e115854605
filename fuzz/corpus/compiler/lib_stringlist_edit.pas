{ TStringList editing: Add (returns the index), Append, Insert, Delete,
  Exchange, Move, AddStrings, IndexOf (case-insensitive by default),
  Strings[] and the default property, Equals, Clear, Count. }
var
  L, M: TStringList;
  i: Integer;

function Joined(X: TStringList): string;
var k: Integer;
begin
  Result := '';
  for k := 0 to X.Count - 1 do
  begin
    if k > 0 then Result := Result + '|';
    Result := Result + X[k];
  end;
end;

begin
  L := TStringList.Create;
  i := L.Add('alpha');
  i := L.Add('beta');
  WriteLn('add returns ' + IntToStr(i));
  L.Append('gamma');
  L.Insert(0, 'first');
  L.Insert(L.Count, 'last');
  WriteLn('built ' + Joined(L) + ' count=' + IntToStr(L.Count));
  L.Delete(1);
  WriteLn('delete(1) ' + Joined(L));
  L.Exchange(0, L.Count - 1);
  WriteLn('exchange ' + Joined(L));
  L.Move(0, 2);
  WriteLn('move(0,2) ' + Joined(L));
  L.Strings[1] := 'BETA';
  L[2] := L[2] + '!';
  WriteLn('assign ' + Joined(L));
  WriteLn('indexof beta=' + IntToStr(L.IndexOf('beta')) + ' LAST=' + IntToStr(L.IndexOf('LAST')) + ' missing=' + IntToStr(L.IndexOf('zeta')));
  M := TStringList.Create;
  M.Add('x');
  M.AddStrings(L);
  WriteLn('addstrings ' + Joined(M));
  M.Delete(0);
  if M.Equals(L) then WriteLn('equals after removing x');
  L.Add('');
  WriteLn('empty item counts: ' + IntToStr(L.Count));
  L.Clear;
  WriteLn('cleared count=' + IntToStr(L.Count) + ' [' + Joined(L) + ']');
  L.Free;
  M.Free;
end.

{ The for limit is evaluated again before every pass (to and downto), and
  the body may assign the control variable. }
var
  i, limit, runs: Integer;
  s: string;
  L: TStringList;
begin
  limit := 3;
  runs := 0;
  for i := 1 to limit do
  begin
    runs := runs + 1;
    if runs < 5 then limit := limit + 1;
  end;
  WriteLn('to with growing limit runs=' + IntToStr(runs) + ' limit=' + IntToStr(limit));
  limit := 1;
  runs := 0;
  for i := 10 downto limit do
  begin
    runs := runs + 1;
    limit := limit + 2;
  end;
  WriteLn('downto with rising limit runs=' + IntToStr(runs) + ' i=' + IntToStr(i));
  s := 'aXbXc';
  i := 0;
  for i := 1 to Length(s) do
    if s[i] = 'X' then Delete(s, i, 1);
  WriteLn('deleting while looping to Length: ' + s);
  runs := 0;
  for i := 1 to 10 do
  begin
    runs := runs + 1;
    i := i + 2;
  end;
  WriteLn('body steps i: runs=' + IntToStr(runs) + ' after=' + IntToStr(i));
  L := TStringList.Create;
  L.Add('a'); L.Add('drop'); L.Add('b'); L.Add('drop'); L.Add('c');
  for i := 0 to L.Count - 1 do
    if L[i] = 'drop' then L.Delete(i);
  WriteLn('list after deletes=' + L.CommaText);
  L.Free;
end.

{ TStringList ordering: Sort (case-insensitive by default), Sorted with
  insert in order, Find on a sorted list, Duplicates dupIgnore / dupError /
  dupAccept, CaseSensitive for IndexOf and Sort. }
var
  L: TStringList;
  idx: Integer;

begin
  L := TStringList.Create;
  L.CommaText := 'pear,Apple,banana,cherry,Date';
  L.Sort;
  WriteLn('sort ' + L.CommaText);
  L.CaseSensitive := True;
  L.Sort;
  WriteLn('case-sensitive sort ' + L.CommaText);
  WriteLn('case-sensitive indexof Apple=' + IntToStr(L.IndexOf('Apple')) + ' apple=' + IntToStr(L.IndexOf('apple')));
  L.CaseSensitive := False;
  L.Clear;
  L.Sorted := True;
  L.Add('m'); L.Add('c'); L.Add('x'); L.Add('a');
  WriteLn('sorted inserts ' + L.CommaText);
  if L.Find('m', idx) then WriteLn('find m at ' + IntToStr(idx));
  if not L.Find('d', idx) then WriteLn('find d missing, insert point ' + IntToStr(idx));
  if L.Find('X', idx) then WriteLn('find X (ignoring case) at ' + IntToStr(idx));
  L.Duplicates := dupIgnore;
  L.Add('c');
  WriteLn('dupIgnore count=' + IntToStr(L.Count));
  L.Duplicates := dupAccept;
  L.Add('c');
  WriteLn('dupAccept ' + L.CommaText);
  L.Duplicates := dupError;
  try
    L.Add('x');
    WriteLn('not reached');
  except
    WriteLn('dupError: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  L.Free;
end.

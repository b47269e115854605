{ From the reference runner's own tests: TStrings/TStringList from uPSC_classes/uPSR_classes. }
var
  L, M: TStringList;
  i, idx: Integer;
  s: string;

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
  try
    { Add returns the index; default property and Strings[] are the same }
    i := L.Add('pear');
    i := L.Add('Apple');
    WriteLn('add index=' + IntToStr(i));
    L.Add('banana');
    L.Add('cherry');
    WriteLn('count=' + IntToStr(L.Count) + ' [1]=' + L[1] + ' Strings[2]=' + L.Strings[2]);

    { IndexOf is case-insensitive by default, -1 when missing }
    WriteLn('indexof apple=' + IntToStr(L.IndexOf('apple')) + ' missing=' + IntToStr(L.IndexOf('kiwi')));
    L.CaseSensitive := True;
    WriteLn('case-sensitive indexof apple=' + IntToStr(L.IndexOf('apple')));
    L.CaseSensitive := False;

    { Sort (case-insensitive), Sorted + Find }
    L.Sort;
    WriteLn('sorted=' + Joined(L));
    L.Sorted := True;
    L.Add('avocado');                       { sorted insert }
    if L.Find('banana', idx) then WriteLn('find banana at ' + IntToStr(idx));
    if not L.Find('blueberry', idx) then WriteLn('find blueberry: insert point ' + IntToStr(idx));
    L.Sorted := False;

    { Delete / Insert / Exchange / Move / assignment via index }
    L.Delete(0);
    L.Insert(1, 'fig');
    L.Exchange(0, 1);
    L[2] := UpperCase(L[2]);
    WriteLn('edited=' + Joined(L));

    { Text: lines joined with LF on Linux (trailing LF included) }
    s := L.Text;
    WriteLn('text len=' + IntToStr(Length(s)) + ' lf count=' + IntToStr(L.Count));

    { Name=Value pairs }
    L.Clear;
    L.Add('ticker=ACME');
    L.Add('price=12.5');
    L.Values['volume'] := '300';
    L.Values['price'] := '13';
    WriteLn('values ticker=' + L.Values['ticker'] + ' price=' + L.Values['price'] + ' missing=[' + L.Values['nope'] + ']'
      + ' names[2]=' + L.Names[2] + ' count=' + IntToStr(L.Count) + ' indexofname=' + IntToStr(L.IndexOfName('volume')));
  finally
    L.Free;
  end;

  M := TStringList.Create;
  try
    { CommaText: quoting of items with spaces / commas }
    M.CommaText := 'one,"two words",three';
    WriteLn('commatext count=' + IntToStr(M.Count) + ' [1]=' + M[1]);
    M.Add('has,comma');
    WriteLn('commatext out=' + M.CommaText);

    { Delimiter / DelimitedText }
    M.Clear;
    M.Delimiter := ';';
    M.DelimitedText := 'a;b;c';
    WriteLn('delimited count=' + IntToStr(M.Count) + ' out=' + M.DelimitedText);

    { Text setter splits on CRLF and LF alike }
    M.Text := 'l1' + #13#10 + 'l2' + #10 + 'l3';
    WriteLn('text split count=' + IntToStr(M.Count) + ' last=' + M[2]);

    { out-of-range index raises a host exception that the script can catch }
    try
      s := M[10];
    except
      WriteLn('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
    end;
  finally
    M.Free;
  end;
  WriteLn('done');
end.

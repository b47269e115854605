{ TStringList as text: Text (with trailing line break), assigning Text
  (CRLF and LF), CommaText with quoting, DelimitedText with a Delimiter,
  and QuoteChar, Names/Values/ValueFromIndex, IndexOfName. }
var
  L: TStringList;
begin
  L := TStringList.Create;
  L.Text := 'one' + #13#10 + 'two' + #10 + 'three';
  WriteLn('text count=' + IntToStr(L.Count) + ' [2]=' + L[2] + ' text len=' + IntToStr(Length(L.Text)));
  L.Add('with space');
  L.Add('with,comma');
  L.Add('');
  WriteLn('commatext=' + L.CommaText);
  L.CommaText := 'a,"b c",d e,"f""g"';
  WriteLn('parsed count=' + IntToStr(L.Count) + ' [1]=' + L[1] + ' [2]=' + L[2] + ' [3]=' + L[3]);
  L.Clear;
  L.Delimiter := ';';
  L.DelimitedText := 'x;y z;w';
  WriteLn('delimited count=' + IntToStr(L.Count) + ' out=' + L.DelimitedText);
  L.QuoteChar := '''';
  L.DelimitedText := 'p;''q r'';s';
  WriteLn('quotechar count=' + IntToStr(L.Count) + ' [1]=' + L[1]);
  L.Clear;
  L.Add('symbol=EURUSD');
  L.Add('side=buy');
  L.Add('note=a=b');
  WriteLn('values symbol=' + L.Values['symbol'] + ' note=' + L.Values['note'] + ' missing=[' + L.Values['x'] + ']');
  WriteLn('names[1]=' + L.Names[1] + ' valuefromindex[2]=' + L.ValueFromIndex[2] + ' indexofname side=' + IntToStr(L.IndexOfName('SIDE')));
  L.Values['side'] := 'sell';
  L.Values['size'] := '2';
  WriteLn('after value edits=' + L.CommaText);
  L.Free;
end.

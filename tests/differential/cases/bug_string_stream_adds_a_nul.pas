{ A TStringStream holds the bytes of its string. }
var ss: TStringStream; t: string; n: Integer;
begin
  ss := TStringStream.Create('xyz');
  WriteLn(IntToStr(ss.Size) + ' ' + IntToStr(ss.Position));
  SetLength(t, 4);
  n := ss.Read(t, 4);
  WriteLn(IntToStr(n) + ' ' + IntToStr(Ord(t[1])) + ' ' + IntToStr(Ord(t[3])));
  ss.Free;
  ss := TStringStream.Create('');
  WriteLn(IntToStr(ss.Size));
end.

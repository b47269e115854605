{ Global and local variables start as zero, '' or nil; a local starts fresh
  on every call. }
type
  TRec = record
    S: string;
    I: Integer;
    B: Boolean;
  end;
var
  gi: Integer;
  gs: string;
  gb: Boolean;
  gd: Double;
  gc: Char;
  gr: TRec;
  ga: array of Integer;
  gl: TStringList;
  g64: Int64;

function Fresh(k: Integer): string;
var li: Integer; ls: string; lr: TRec; la: array[0..2] of Integer;
begin
  Result := 'call' + IntToStr(k) + ' li=' + IntToStr(li) + ' ls=[' + ls + '] rec=' + IntToStr(lr.I) + '[' + lr.S + ']'
    + ' arr=' + IntToStr(la[0] + la[1] + la[2]);
  li := 99; ls := 'dirty'; lr.I := 5; la[1] := 3;
end;

begin
  WriteLn('gi=' + IntToStr(gi) + ' gs=[' + gs + '] gd=' + FloatToStr(gd) + ' gc=' + IntToStr(Ord(gc)) + ' g64=' + IntToStr(g64));
  if not gb then WriteLn('gb=false');
  if not gr.B then WriteLn('record fields zeroed: ' + IntToStr(gr.I) + '[' + gr.S + ']');
  WriteLn('dyn len=' + IntToStr(GetArrayLength(ga)));
  if gl = nil then WriteLn('object nil');
  if not Assigned(gl) then WriteLn('not assigned');
  WriteLn(Fresh(1));
  WriteLn(Fresh(2));
end.

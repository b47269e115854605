{ WriteLn and WriteLnLog print one line each: empty text, leading and
  trailing blanks, characters above 127, long text; host routine names are
  case-insensitive. }
var
  s: string;
  i: Integer;
begin
  WriteLn('');
  WriteLn('  blanks kept  ');
  WriteLnLog('log line');
  WriteLnLog('');
  WriteLn('Grüße €');
  s := '';
  for i := 1 to 30 do s := s + 'abcdefghij';
  WriteLn(s);
  WriteLnLog('length ' + IntToStr(Length(s)));
  writeln('lower case name');
  WRITELNLOG('upper case name');
  WriteLn('tab'#9'inside');
end.

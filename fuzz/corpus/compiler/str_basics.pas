{ String values: concatenation, copies are independent, comparisons are
  byte-wise and case-sensitive, '' and #nn escapes, Length counts bytes. }
var
  a, b: string;
  s: AnsiString;
begin
  a := 'Hello';
  b := a;
  b[1] := 'J';
  WriteLn('copy is independent: ' + a + ' ' + b);
  a := a + ', ' + 'world' + #33;
  WriteLn(a + ' len=' + IntToStr(Length(a)));
  s := a;
  WriteLn('ansistring ' + s);
  if 'abc' = a then WriteLn('never') else WriteLn('abc <> a');
  a := 'abc'; b := 'abd';
  if a < b then WriteLn('abc < abd');
  a := 'Z'; b := 'a';
  if a < b then WriteLn('Z < a');
  a := ''; b := 'x';
  if a < b then WriteLn('empty < x');
  a := 'ABC';
  if a <> 'abc' then WriteLn('case-sensitive equality');
  a := 'don''t';
  WriteLn(a + ' len=' + IntToStr(Length(a)));
  a := 'tab'#9'end';
  WriteLn('escaped tab len=' + IntToStr(Length(a)));
  a := 'Grüße';
  WriteLn('utf-8 bytes=' + IntToStr(Length(a)));
  a := '';
  WriteLn('empty len=' + IntToStr(Length(a)) + ' [' + a + ']');
end.

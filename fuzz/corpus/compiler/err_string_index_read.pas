{ Reading a string index out of range outside try ends the run with the
  engine's text; s[0] is out of range too. }
var s: string; i: Integer;
begin
  s := 'abc';
  i := 3;
  WriteLn('last char ' + s[i]);
  i := 0;
  WriteLn('char 0 ' + s[i]);
  WriteLn('not reached');
end.

{ Writing past the end of a string is an error inside and outside try. }
var s: string;
begin
  s := 'abc';
  try
    s[4] := 'x';
  except
    WriteLn('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('string unchanged: ' + s);
  s := '';
  s[1] := 'x';
  WriteLn('not reached');
end.

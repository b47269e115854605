{ Variant conversion failures are host exceptions with the RTL's text. }
var v: Variant; i: Integer;
begin
  v := 'abc';
  try
    i := v;
  except
    WriteLn('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  v := Unassigned;
  i := v;
  WriteLn('unassigned to integer = ' + IntToStr(i));
  v := Null;
  i := v;
  WriteLn('not reached');
end.

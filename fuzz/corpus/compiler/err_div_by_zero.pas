{ Integer div and mod by zero: caught inside try, fatal outside. }
var a, z: Integer;
begin
  a := 10; z := 0;
  try
    a := a mod z;
  except
    WriteLn('mod: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('a kept ' + IntToStr(a));
  a := a div z;
  WriteLn('not reached');
end.

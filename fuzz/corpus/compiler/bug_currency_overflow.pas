{ Currency arithmetic that leaves its range (about +/-9.2e14) must end in a
  script error that try..except can catch, not in the end of the process. }
var c: Currency;
begin
  c := 900000000000000;
  WriteLn('start ' + FloatToStrFixed(0, c));
  try
    c := c * 100;
    WriteLn('product ' + FloatToStr(c));
  except
    WriteLn('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('after');
end.

{ A Double multiplication that overflows must be a script error that
  try..except catches, like a division by zero is. }
var d: Double;
begin
  d := 1e300;
  try
    d := d * 1e10;
    WriteLn('not reached ' + FloatToStr(d));
  except
    WriteLn('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('still running');
end.

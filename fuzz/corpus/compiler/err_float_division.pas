{ Real division by zero raises "divide by Zero", 0/0 raises "Math error";
  both are caught by try..except, and the last one ends the script. }
var d, e: Double;
begin
  d := 0;
  try
    d := 1 / d;
    WriteLn('not reached');
  except
    WriteLn('1/0.0: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  d := 0; e := 0;
  try
    d := d / e;
    WriteLn('not reached');
  except
    WriteLn('0/0.0: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  d := 0;
  WriteLn('uncaught next');
  d := 5 / d;
  WriteLn('not reached');
end.

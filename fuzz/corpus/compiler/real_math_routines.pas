{ Sqrt, Sin, Cos, Pi, Int, Abs, Round (banker's), Trunc, StrToFloat, and
  the errors they raise. }
var
  e: Extended;
  d: Double;
begin
  e := 2;
  WriteLn('sqrt2=' + FloatToStr(Sqrt(e)) + ' pi=' + FloatToStr(Pi) + ' sin0=' + FloatToStr(Sin(0)) + ' cos0=' + FloatToStr(Cos(0)));
  WriteLn('sin(pi/6)=' + FloatToStr(Sin(Pi / 6)) + ' cos(pi)=' + FloatToStr(Cos(Pi)));
  WriteLn('int(-2.7)=' + FloatToStr(Int(-2.7)) + ' int(2.7)=' + FloatToStr(Int(2.7)) + ' abs(-2.5)=' + FloatToStr(Abs(-2.5)));
  WriteLn('round 0.5=' + IntToStr(Round(0.5)) + ' 1.5=' + IntToStr(Round(1.5)) + ' 2.5=' + IntToStr(Round(2.5))
    + ' 3.5=' + IntToStr(Round(3.5)) + ' -0.5=' + IntToStr(Round(-0.5)) + ' -1.5=' + IntToStr(Round(-1.5)) + ' 2.4999=' + IntToStr(Round(2.4999)));
  WriteLn('trunc 2.9=' + IntToStr(Trunc(2.9)) + ' -2.9=' + IntToStr(Trunc(-2.9)));
  e := 1e10;
  WriteLn('round 1e10 wraps=' + IntToStr(Round(e)) + ' trunc 3e9 wraps=' + IntToStr(Trunc(3e9)));
  WriteLn('strtofloat ' + FloatToStr(StrToFloat('3.25')) + ' ' + FloatToStr(StrToFloat('-1e3')) + ' ' + FloatToStr(StrToFloat(' 7')));
  try
    e := StrToFloat('abc');
    WriteLn('not reached');
  except
    WriteLn('strtofloat bad: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  e := -1;
  try
    e := Sqrt(e);
    WriteLn('not reached');
  except
    WriteLn('sqrt(-1): ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  e := 1e20;
  try
    WriteLn(IntToStr(Round(e)));
  except
    WriteLn('round 1e20: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
end.

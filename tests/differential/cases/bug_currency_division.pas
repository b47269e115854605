{ Currency division whose quotient leaves the Currency range (about
  +/-9.2e14) must raise an error that try..except catches; quotients in range
  keep every digit and halves round to even. }
var c, c2: Currency;
begin
  c := 900000000000000; c2 := 1.0001;
  WriteLn('large: ' + FloatToStr(c / c2));
  c := 90000000000000;
  WriteLn('by a tenth: ' + FloatToStr(c / 0.1));
  c := 0.0001; c2 := 2;
  WriteLn('half: ' + FloatToStr(c / c2));
  c := 0.0005;
  WriteLn('two and a half: ' + FloatToStr(c / c2));
  c := -900000000000000; c2 := 0.001;
  try
    c := c / c2;
    WriteLn('quotient ' + FloatToStr(c));
  except
    WriteLn('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('after');
end.

{ Abs returns Extended, so IntToStr(Abs(..)) is a type mismatch.  Inside a
  longer concatenation the reference compiler records the error, drops the
  rest of the expression and still reports success. }
var i: Integer;
begin
  i := 5;
  i := -i;
  WriteLn('value ' + IntToStr(-i) + ' tail');
  WriteLn('next ' + IntToStr(i div 2) + ' abs=' + IntToStr(Abs(-5)) + ' end');
end.

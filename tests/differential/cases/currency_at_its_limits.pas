{ Currency up to its last digits: sums and differences with a real operand near the limits are exact, and a
  conversion beyond the range is a math error. }
var c, d: Currency; i: Int64;
begin
  c := -922337203685477; d := c - 0.5; WriteLn(FloatToStr(d));
  c := 922337203685477; d := c + 0.5; WriteLn(FloatToStr(d));
  d := c + 0.58; WriteLn(FloatToStr(d));
  d := -c - 0.5807; WriteLn(FloatToStr(d));
  i := 9223372036854775;
  try c := i; WriteLn('no error'); except WriteLn('int to currency: ' + IntToStr(Ord(ExceptionType))); end;
  i := 922337203685477;
  c := i; WriteLn(FloatToStr(c));
  { leaving the range is reported with the runtime's text }
  c := 900000000000000;
  try c := c * c; except WriteLn('product ' + IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam); end;
end.

{ Currency times or by a real: the scaled value (ten-thousandths) is multiplied or divided exactly at extended
  precision and rounded half to even; a real on the left gives a real. }
var cu, r: Currency; x: Extended; d: Double;
begin
  cu := 6.7035; r := cu * 2.5; WriteLn(FloatToStr(r));
  cu := 1.0001; r := cu * 0.5; WriteLn(FloatToStr(r));
  cu := 1.0003; r := cu * 0.5; WriteLn(FloatToStr(r));
  cu := 0.0003; x := 0.5; r := cu * x; WriteLn(FloatToStr(r));
  cu := 6.7035; d := 2.5; r := cu * d; WriteLn(FloatToStr(r));
  cu := 6.7035; x := 2.5; WriteLn(FloatToStr(cu * x));
  cu := 1; r := cu / 3.0; WriteLn(FloatToStr(r));
  cu := 2; r := cu / 3.0; WriteLn(FloatToStr(r));
  cu := 6.7035; r := cu + 0.00005; WriteLn(FloatToStr(r));
  cu := 6.7035; r := cu - 0.00005; WriteLn(FloatToStr(r));
  cu := 0.1; x := cu * 3.3; WriteLn(FloatToStr(x));
  x := 2.5; r := x * cu; WriteLn(FloatToStr(r));
end.

{ Currency with a real: the arithmetic is done in ten-thousandths at extended precision (a Double scaled in double
  precision first), a product scaled back, a quotient scaled up, rounded half to even; a real on the left gives
  that real's type. The rounding of each step shows in the last digit. }
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
  cu := 1.2345; x := 11; x := x / 6; r := cu * x; WriteLn(FloatToStr(r));
  cu := 0.0003; x := 1; x := x / 6; r := cu * x; WriteLn(FloatToStr(r));
  cu := 0.0083; r := cu / 2.0; WriteLn(FloatToStr(r));
  cu := 0.0083; x := -2; r := cu / x; WriteLn(FloatToStr(r));
  cu := -61480902.2935; d := 340.0364244375328; r := cu * d; WriteLn(FloatToStr(r));
  cu := -65253327.8149; x := 3.8333333333333335; x := x * cu; WriteLn(FloatToStr(x));
  cu := -0.0008; d := 0.0005519171348714338; d := d * cu; WriteLn(FloatToStr(d * 1e12));
  cu := -0.0032; d := -5.444444444444445; d := d - cu; WriteLn(FloatToStr(d * 1e6));
  cu := 0.0083; r := 0.0002; r := cu / r; WriteLn(FloatToStr(r));
end.

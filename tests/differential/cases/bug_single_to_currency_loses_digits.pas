{ A Single becomes a Currency: the reference multiplies by 10000 in single precision and loses digits that the
  Single holds (1e10 becomes 10000000037.6832, 12345.678 becomes 12345.6776). }
var sg: Single; cu: Currency; d: Double;
begin
  sg := 1e10; cu := sg; WriteLn(FloatToStr(cu));
  sg := 0.1; cu := sg; WriteLn(FloatToStr(cu));
  sg := 1e10; d := sg; cu := d; WriteLn(FloatToStr(cu));
  sg := 12345.678; cu := sg; WriteLn(FloatToStr(cu));
  cu := 2; cu := cu + sg; WriteLn(FloatToStr(cu));
end.

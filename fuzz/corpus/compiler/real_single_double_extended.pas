{ Single keeps about 7 digits, Double and Extended about 15; FloatToStr
  always prints 12 decimals.  Mixed integer/real arithmetic gives a real. }
var
  s: Single;
  d: Double;
  e: Extended;
  i: Integer;
begin
  s := 0.1; d := 0.1; e := 0.1;
  WriteLn('0.1 single=' + FloatToStr(s) + ' double=' + FloatToStr(d) + ' extended=' + FloatToStr(e));
  s := 16777217;
  WriteLn('single 2^24+1=' + FloatToStr(s));
  d := 1 / 3.0;
  WriteLn('1/3.0=' + FloatToStr(d));
  i := 7;
  d := i;
  WriteLn('int to double /2=' + FloatToStr(d / 2) + ' i*0.5=' + FloatToStr(i * 0.5) + ' 0.5*i=' + FloatToStr(0.5 * i));
  d := 2.5; s := d; e := s + d;
  WriteLn('mixed single+double=' + FloatToStr(e));
  WriteLn('literals ' + FloatToStr(1e-5) + ' ' + FloatToStr(123456789012.5) + ' ' + FloatToStr(1e20) + ' ' + FloatToStr(-1e-20));
  WriteLn('exp notation ' + FloatToStr(1.5E3) + ' ' + FloatToStr(2e-1));
  d := 0.1 + 0.2;
  if d <> 0.3 then WriteLn('0.1+0.2 <> 0.3 in binary floating point');
  d := -0.0;
  WriteLn('negative zero prints ' + FloatToStr(d));
  WriteLn('sizes ' + IntToStr(SizeOf(s)) + ' ' + IntToStr(SizeOf(d)));
end.

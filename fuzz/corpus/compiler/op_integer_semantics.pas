{ Integer operators: div and mod truncate toward zero, / between integers
  is integer division (also for constants), shifts are unsigned on the
  32-bit pattern and take the count modulo 32, bitwise not/and/or/xor. }
var
  i, j: Integer;
  d: Double;
begin
  WriteLn('div/mod 7,-2: ' + IntToStr(7 div -2) + ' ' + IntToStr(7 mod -2) + ' -7,2: ' + IntToStr(-7 div 2) + ' ' + IntToStr(-7 mod 2)
    + ' -7,-3: ' + IntToStr(-7 div -3) + ' ' + IntToStr(-7 mod -3));
  i := 7; j := 2;
  WriteLn('int/int=' + IntToStr(i / j) + ' const 10/4=' + IntToStr(10 / 4));
  d := 7 / 2;
  WriteLn('double := 7/2 -> ' + FloatToStr(d));
  d := i / 2;
  WriteLn('double := i/2 -> ' + FloatToStr(d));
  d := 7 / 2.0;
  WriteLn('double := 7/2.0 -> ' + FloatToStr(d));
  i := -1;
  WriteLn('-1 shr 28=' + IntToStr(i shr 28) + ' -8 shr 1=' + IntToStr(-8 shr 1));
  i := 1;
  WriteLn('1 shl 31=' + IntToStr(i shl 31) + ' 1 shl 32=' + IntToStr(i shl 32) + ' 1 shl 33=' + IntToStr(i shl 33));
  i := 5; j := 3;
  WriteLn('5 and 3=' + IntToStr(i and j) + ' or=' + IntToStr(i or j) + ' xor=' + IntToStr(i xor j) + ' not 5=' + IntToStr(not i));
  i := $7FFFFFFF;
  WriteLn('hex literal=' + IntToStr(i) + ' $FF=' + IntToStr($FF) + ' $10 * 2=' + IntToStr($10 * 2));
  i := -i;
  WriteLn('negate=' + IntToStr(i) + ' abs via compare=' + IntToStr(Ord(i < 0)));
end.

{ Conversions between numbers and text: IntToStr (Int64), StrToInt (-1 on
  bad input, Val rules: leading blanks, $ and 0x hex, + sign, wrap on
  overflow), StrToIntDef, StrToInt64(Def), FloatToStr, StrToFloat. }
begin
  WriteLn('inttostr ' + IntToStr(0) + ' ' + IntToStr(-42) + ' ' + IntToStr(2147483647) + ' ' + IntToStr(-9223372036854775807));
  WriteLn('strtoint ' + IntToStr(StrToInt('123')) + ' ' + IntToStr(StrToInt('-7')) + ' ' + IntToStr(StrToInt('12a'))
    + ' ' + IntToStr(StrToInt('')) + ' ' + IntToStr(StrToInt(' 5')) + ' ' + IntToStr(StrToInt('5 ')));
  WriteLn('strtoint hex ' + IntToStr(StrToInt('$1F')) + ' ' + IntToStr(StrToInt('0x10')) + ' ' + IntToStr(StrToInt('+5'))
    + ' ' + IntToStr(StrToInt('$FFFFFFFF')));
  WriteLn('strtoint overflow ' + IntToStr(StrToInt('2147483648')) + ' ' + IntToStr(StrToInt('4294967297')));
  WriteLn('strtointdef ' + IntToStr(StrToIntDef('42', 0)) + ' ' + IntToStr(StrToIntDef('x', 99)) + ' ' + IntToStr(StrToIntDef('', 7))
    + ' ' + IntToStr(StrToIntDef('1.5', -1)) + ' ' + IntToStr(StrToIntDef('-0', 3)));
  WriteLn('strtoint64 ' + IntToStr(StrToInt64('-123456789012')) + ' ' + IntToStr(StrToInt64Def('9x', 11)) + ' ' + Int64ToStr(StrToInt64('$100000000')));
  WriteLn('floattostr ' + FloatToStr(0) + ' ' + FloatToStr(-2.5) + ' ' + FloatToStr(1234567.125) + ' ' + FloatToStr(0.000001));
  WriteLn('strtofloat ' + FloatToStr(StrToFloat('1.5')) + ' ' + FloatToStr(StrToFloat('-3')) + ' ' + FloatToStr(StrToFloat('2.5e2')) + ' ' + FloatToStr(StrToFloat('.5')));
end.

{ The literal -2147483648 is the smallest Integer. }
var j: Int64; i: Integer;
begin
  j := -2147483648; WriteLn(IntToStr(j));
  WriteLn(IntToStr(j mod 65));
  i := -2147483648; WriteLn(IntToStr(i));
  if -2147483648 < 0 then WriteLn('negative') else WriteLn('not negative');
  j := -3000000000; WriteLn(IntToStr(j));
end.

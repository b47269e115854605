{ A minus after a multiplying operator negates the rest of the term: a * -b * c is a * -(b * c), with integers,
  bytes and Currency. }
var i: Integer; b: Byte; cu, c: Currency;
begin
  i := 7;
  WriteLn(IntToStr(100 div -i * 2));
  WriteLn(IntToStr(10 * -i div 3));
  b := 200;
  WriteLn(IntToStr(2 * -b * 3));
  WriteLn(IntToStr(i * -2 + 1));
  cu := 6.7035; c := 3.2082;
  WriteLn(FloatToStr(cu * -2.75 * c));
  WriteLn(FloatToStr(cu * 2.75 * -c * 2));
end.

{ The left operand decides the arithmetic type: a Byte on the left keeps the
  result in 8 bits, an Int64 on the left widens, Integer with a real gives
  a real; comparisons between integer types and reals. }
var
  b: Byte;
  w: Word;
  i: Integer;
  i64: Int64;
  c: Cardinal;
  d: Double;
  r: Integer;
begin
  b := 200;
  r := b * 2;
  WriteLn('byte*2=' + IntToStr(r) + ' 2*byte=' + IntToStr(2 * b));
  r := b + b;
  WriteLn('byte+byte=' + IntToStr(r));
  i := 1000;
  r := i + b;
  WriteLn('int+byte=' + IntToStr(r));
  w := 60000;
  r := w + 10000;
  WriteLn('word+10000=' + IntToStr(r));
  i := 2000000000;
  i64 := i + i;
  WriteLn('int+int into int64=' + IntToStr(i64));
  i64 := i;
  i64 := i64 + i;
  WriteLn('int64+int=' + IntToStr(i64));
  c := 3000000000;
  i64 := c;
  WriteLn('cardinal into int64=' + IntToStr(i64));
  i := 3;
  d := i * 1.5;
  WriteLn('int*1.5=' + FloatToStr(d));
  d := 2.5;
  if d > i then WriteLn('never') else WriteLn('2.5 < 3');
  if i = 3.0 then WriteLn('int = 3.0');
  b := 255;
  if b > i then WriteLn('byte 255 > int 3');
  i := -1;
  c := 1;
  if i < 0 then WriteLn('signed compare');
end.

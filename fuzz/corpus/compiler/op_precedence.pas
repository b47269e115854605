{ Operator precedence: * / div mod and shl shr bind tighter than + - or
  xor, which bind tighter than comparisons; not binds tightest; unary
  minus binds looser than shl, shr and *. }
var
  i: Integer;
  b: Boolean;
begin
  WriteLn('2+3*4=' + IntToStr(2 + 3 * 4) + ' (2+3)*4=' + IntToStr((2 + 3) * 4) + ' 10-4-3=' + IntToStr(10 - 4 - 3)
    + ' 100 div 10 div 5=' + IntToStr(100 div 10 div 5));
  WriteLn('2*3 mod 4=' + IntToStr(2 * 3 mod 4) + ' 2+3 shl 2=' + IntToStr(2 + 3 shl 2) + ' 12 and 10 or 1=' + IntToStr(12 and 10 or 1)
    + ' 1 or 2 and 0=' + IntToStr(1 or 2 and 0));
  WriteLn('-1 shr 28=' + IntToStr(-1 shr 28) + ' (-1) shr 28=' + IntToStr((-1) shr 28) + ' -2*3=' + IntToStr(-2 * 3)
    + ' - - 3=' + IntToStr(- - 3));
  i := 5;
  WriteLn('-i*3=' + IntToStr(-i * 3) + ' -i+10=' + IntToStr(-i + 10));
  b := not (1 > 2);
  if b then WriteLn('not (1 > 2)');
  b := (i > 3) and (i < 10) or (i = 0);
  if b then WriteLn('and before or');
  b := not False and False;
  if not b then WriteLn('not binds before and');
  i := 3;
  b := (i = 3) = True;
  if b then WriteLn('comparison of comparison');
  WriteLn('mixed=' + IntToStr(1 + 2 * 3 - 4 div 2 + 7 mod 4 - (8 shr 1)));
end.

{ x := -y and F(-y): the value is first made the destination's type, then negated there; a minus inside a larger
  expression negates in the operand's own type. }
var i, k: Integer; j: Int64; c: Cardinal; b: Byte; w: Word; d: Double; s: Single; e: Extended;
procedure P(x: Int64); begin WriteLn('arg ' + IntToStr(x)); end;
procedure Q(x: Double); begin WriteLn('arg ' + FloatToStr(x)); end;
function F: Int64; var k: Integer; begin k := -2147483647 - 1; Result := -k; end;
begin
  i := -2147483647 - 1;
  P(-i); Q(-i); WriteLn(IntToStr(F)); WriteLn(IntToStr(-i));
  c := 5; P(-c);
  j := -i; WriteLn(IntToStr(j));
  k := -i; WriteLn(IntToStr(k));
  j := -i + 1; WriteLn(IntToStr(j));
  j := 1 + -i; WriteLn(IntToStr(j));
  d := -i; WriteLn(FloatToStr(d));
  j := -(i); WriteLn(IntToStr(j));
  c := 5; j := -c; WriteLn(IntToStr(j));
  c := 4000000000; j := -c; WriteLn(IntToStr(j)); i := -c; WriteLn(IntToStr(i));
  b := 200; i := -b; WriteLn(IntToStr(i)); w := 40000; j := -w; WriteLn(IntToStr(j));
  i := 7; j := -i * 3; WriteLn(IntToStr(j));
  i := 100000; j := -i * i; WriteLn(IntToStr(j));
  s := 0.1; d := -s; WriteLn(FloatToStr(d));
  e := 1e300; e := e * 1e100; d := 1; d := -d; WriteLn(FloatToStr(d));
  j := 3000000000; i := -j; WriteLn(IntToStr(i));
end.

{ Casts written with a type's name take the target type's value; an empty [] is an empty open array. }
var i, i1, i2: Integer; c: Char; s: string; v: Variant; x: Double; w: Word; i64: Int64; cu: Currency;
    sg: Single; e: Extended;
procedure P(const a: array of Integer); begin WriteLn('P ' + IntToStr(Length(a))); end;
procedure Q(a: array of string); begin WriteLn('Q ' + IntToStr(Length(a))); end;
begin
  i := 1; i1 := 7; i2 := 2; c := 'Z'; s := 'q';
  x := Double(i1) / i2; WriteLn(FloatToStr(x));
  x := Double(-i1) / i2; WriteLn(FloatToStr(x));
  sg := Single(i1); WriteLn(FloatToStr(sg / 3));
  e := Extended(i1) / 3; WriteLn(FloatToStr(e));
  cu := Currency(i) / 3; WriteLn(FloatToStr(cu));
  x := Double(i1); WriteLn(FloatToStr(Currency(x) / 3));
  v := Variant(i1); WriteLn(IntToStr(v));
  v := Variant(s); WriteLn(v);
  WriteLn(String(c) + String(s));
  w := Word(-1); WriteLn(IntToStr(w));
  i64 := Int64(i1) * 1000000000; WriteLn(IntToStr(i64));
  WriteLn(IntToStr(Byte(300)));
  P([]);
  Q([]);
end.

{ In arithmetic with a Single the integer operand is rounded to a Single first, on either side; comparisons and
  Doubles take it exactly. }
var i: Integer; c: Cardinal; j: Int64; b: Byte; sg, r: Single; d: Double; k: Integer;
    ints: array[0..5] of Integer;
begin
  ints[0] := 16777217; ints[1] := -16777217; ints[2] := 2147483647; ints[3] := -2121269147; ints[4] := 33554435;
  ints[5] := 7;
  for k := 0 to 5 do begin
    i := ints[k];
    sg := 0.5;
    r := i + sg; WriteLn('add ' + FloatToStr(r));
    r := sg + i; WriteLn('add2 ' + FloatToStr(r));
    r := i - sg; WriteLn('sub ' + FloatToStr(r));
    r := i * -16.5; WriteLn('literal ' + FloatToStr(r));
    sg := -16.5;
    r := i * sg; WriteLn('mul ' + FloatToStr(r));
    d := sg * i; WriteLn('into double ' + FloatToStr(d));
    sg := 3;
    r := i / sg; WriteLn('div ' + FloatToStr(r));
    if i = sg then WriteLn('eq') else WriteLn('ne');
    if i > sg then WriteLn('gt') else WriteLn('le');
  end;
  c := 4294967295; sg := 1; r := c - sg; WriteLn('cardinal ' + FloatToStr(r));
  j := 9007199254740993; sg := 1; r := j + sg; WriteLn('int64 ' + FloatToStr(r));
  b := 255; sg := 0.25; r := b * sg; WriteLn('byte ' + FloatToStr(r));
end.

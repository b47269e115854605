{ Byte (0..255) and ShortInt (-128..127): assignment and arithmetic wrap
  around without an error; Inc/Dec wrap too. }
var
  b: Byte;
  s: ShortInt;
  i: Integer;
begin
  b := 250;
  b := b + 10;
  WriteLn('byte 250+10=' + IntToStr(b));
  b := 3;
  b := b - 5;
  WriteLn('byte 3-5=' + IntToStr(b));
  b := 255;
  Inc(b);
  WriteLn('byte inc 255=' + IntToStr(b));
  b := 0;
  Dec(b);
  WriteLn('byte dec 0=' + IntToStr(b));
  i := 300;
  b := i;
  WriteLn('byte := 300 -> ' + IntToStr(b));
  b := 200;
  i := b * 2;
  WriteLn('byte 200*2 into Integer=' + IntToStr(i));
  i := 2 * b;
  WriteLn('2*byte 200 into Integer=' + IntToStr(i));
  s := 127;
  s := s + 1;
  WriteLn('shortint 127+1=' + IntToStr(s));
  s := -128;
  Dec(s);
  WriteLn('shortint dec -128=' + IntToStr(s));
  i := -129;
  s := i;
  WriteLn('shortint := -129 -> ' + IntToStr(s));
  s := -100;
  i := s * 3;
  WriteLn('shortint -100*3 into Integer=' + IntToStr(i));
  WriteLn('sizes ' + IntToStr(SizeOf(b)) + ' ' + IntToStr(SizeOf(s)));
  WriteLn('low/high byte ' + IntToStr(Low(b)) + '..' + IntToStr(High(b)) + ' shortint ' + IntToStr(Low(s)) + '..' + IntToStr(High(s)));
end.

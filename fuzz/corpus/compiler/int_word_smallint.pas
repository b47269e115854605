{ Word (0..65535) and SmallInt (-32768..32767) wrap around. }
var
  w: Word;
  s: SmallInt;
  i: Integer;
begin
  w := 65535;
  w := w + 1;
  WriteLn('word 65535+1=' + IntToStr(w));
  w := 0;
  w := w - 1;
  WriteLn('word 0-1=' + IntToStr(w));
  w := 300;
  i := w * w;
  WriteLn('word 300*300 into Integer=' + IntToStr(i));
  i := 70000;
  w := i;
  WriteLn('word := 70000 -> ' + IntToStr(w));
  s := 32767;
  Inc(s);
  WriteLn('smallint inc 32767=' + IntToStr(s));
  s := -32768;
  s := s - 1;
  WriteLn('smallint -32768-1=' + IntToStr(s));
  s := 200;
  i := s * 200;
  WriteLn('smallint 200*200 into Integer=' + IntToStr(i));
  s := -7;
  WriteLn('smallint div/mod ' + IntToStr(s div 2) + ' ' + IntToStr(s mod 2));
  WriteLn('low/high word ' + IntToStr(Low(w)) + '..' + IntToStr(High(w)) + ' smallint ' + IntToStr(Low(s)) + '..' + IntToStr(High(s)));
end.

{ Integer and LongInt are the same signed 32-bit type; overflow wraps. }
var
  i: Integer;
  l: LongInt;
begin
  i := 2147483647;
  i := i + 1;
  WriteLn('integer max+1=' + IntToStr(i));
  l := -2147483647 - 1;
  WriteLn('longint min=' + IntToStr(l));
  l := l - 1;
  WriteLn('longint min-1=' + IntToStr(l));
  i := 65536;
  i := i * 65536;
  WriteLn('65536*65536=' + IntToStr(i));
  i := 100000;
  i := i * i;
  WriteLn('100000*100000=' + IntToStr(i));
  i := 123456789;
  l := i;
  i := l * 10;
  WriteLn('123456789*10=' + IntToStr(i));
  i := -2147483647 - 1;
  i := -i;
  WriteLn('-(min)=' + IntToStr(i));
  i := -2147483647 - 1;
  WriteLn('min div 2=' + IntToStr(i div 2) + ' min mod 7=' + IntToStr(i mod 7));
  WriteLn('sizes ' + IntToStr(SizeOf(i)) + ' ' + IntToStr(SizeOf(l)));
end.

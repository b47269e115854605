{ while (may run zero times), repeat..until (runs at least once, several
  statements without begin/end), loops on compound conditions. }
var
  n, steps: Integer;
  s: string;
begin
  n := 100; steps := 0;
  while n > 1 do
  begin
    n := n div 3;
    steps := steps + 1;
  end;
  WriteLn('while n=' + IntToStr(n) + ' steps=' + IntToStr(steps));
  steps := 0;
  while False do steps := steps + 1;
  WriteLn('while false runs=' + IntToStr(steps));
  n := 0;
  repeat
    n := n + 5;
    steps := steps + 1
  until n > 12;
  WriteLn('repeat n=' + IntToStr(n) + ' steps=' + IntToStr(steps));
  steps := 0;
  repeat steps := steps + 1 until True;
  WriteLn('repeat until true runs=' + IntToStr(steps));
  s := '  padded';
  while (Length(s) > 0) and (s[1] = ' ') do Delete(s, 1, 1);
  WriteLn('stripped=' + s);
  n := 1;
  while n < 1000 do n := n * 2;
  WriteLn('power of two=' + IntToStr(n));
end.

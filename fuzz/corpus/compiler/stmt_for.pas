{ for to / downto: the control variable after the loop, empty ranges,
  nested loops, loops over expressions, Int64 and Byte control variables. }
var
  i, j, n: Integer;
  b: Byte;
  s: string;
begin
  s := '';
  for i := 1 to 5 do s := s + IntToStr(i);
  WriteLn('to=' + s + ' after=' + IntToStr(i));
  s := '';
  for i := 5 downto 1 do s := s + IntToStr(i);
  WriteLn('downto=' + s + ' after=' + IntToStr(i));
  n := 0;
  for i := 10 to 1 do n := n + 1;
  WriteLn('empty to runs=' + IntToStr(n) + ' after=' + IntToStr(i));
  for i := 1 downto 10 do n := n + 1;
  WriteLn('empty downto runs=' + IntToStr(n) + ' after=' + IntToStr(i));
  for i := 3 to 3 do n := n + 1;
  WriteLn('single pass runs=' + IntToStr(n));
  n := 0;
  for i := 1 to 4 do
    for j := i to 4 do
      n := n + 1;
  WriteLn('triangle=' + IntToStr(n));
  s := 'abc';
  n := 0;
  for i := Length(s) - 1 downto 0 do n := n + 1;
  WriteLn('expression bounds runs=' + IntToStr(n));
  n := 0;
  for b := 250 to 254 do n := n + b;
  WriteLn('byte loop sum=' + IntToStr(n) + ' after=' + IntToStr(b));
  n := 0;
  for i := -3 to -1 do n := n + i;
  WriteLn('negative range sum=' + IntToStr(n));
end.

{ Break and Continue in for, while and repeat loops; in nested loops they
  act on the innermost loop only; Continue in repeat goes to the test. }
var
  i, j, n: Integer;
  s: string;
begin
  s := '';
  for i := 1 to 10 do
  begin
    if i mod 2 = 0 then Continue;
    if i > 7 then Break;
    s := s + IntToStr(i);
  end;
  WriteLn('for=' + s + ' i=' + IntToStr(i));
  s := '';
  i := 0;
  while True do
  begin
    i := i + 1;
    if i = 3 then Continue;
    if i > 5 then Break;
    s := s + IntToStr(i);
  end;
  WriteLn('while=' + s);
  s := '';
  i := 0;
  repeat
    i := i + 1;
    if i = 2 then Continue;
    s := s + IntToStr(i);
  until i >= 4;
  WriteLn('repeat=' + s);
  n := 0;
  for i := 1 to 5 do
    for j := 1 to 5 do
    begin
      if j > i then Break;
      n := n + 1;
    end;
  WriteLn('nested break count=' + IntToStr(n));
  s := '';
  for i := 1 to 3 do
  begin
    j := 0;
    while j < 3 do
    begin
      j := j + 1;
      if j = 2 then Continue;
      s := s + IntToStr(i) + IntToStr(j) + ' ';
    end;
  end;
  WriteLn('nested continue=' + s);
end.

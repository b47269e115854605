{ An empty statement stands before END and ELSE: loops, branches and case labels with nothing to do. }
var i, n: Integer;
begin
  n := 0;
  i := 0;
  begin while i > 5 do end;
  begin for i := 1 to 3 do end;
  WriteLn('after for: ' + IntToStr(i));
  i := 3;
  case i of 3: end;
  case i of 3: else WriteLn('else not taken'); end;
  case i of 4: else end;
  case i of 4: WriteLn('four'); 3: else n := 7; end;
  begin if i = 3 then end;
  begin if i = 3 then else end;
  if i = 4 then else n := n + 1;
  WriteLn('i=' + IntToStr(i) + ' n=' + IntToStr(n));
end.

{ A Byte control variable wraps from 255 to 0, so "for b := 250 to 255"
  never ends by itself (the limit is compared again after the wrap);
  Break ends it here. }
var
  b: Byte;
  runs: Integer;
  s: string;
begin
  runs := 0;
  s := '';
  for b := 250 to 255 do
  begin
    runs := runs + 1;
    s := s + IntToStr(b) + ' ';
    if runs >= 10 then Break;
  end;
  WriteLn('runs=' + IntToStr(runs) + ' values=' + s);
end.

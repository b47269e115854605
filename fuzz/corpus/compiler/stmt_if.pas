{ if/then/else: nesting, the dangling else binds to the nearest if,
  compound statements, empty statements, if on Boolean variables. }
var
  i: Integer;
  ok: Boolean;
  s: string;

function Classify(n: Integer): string;
begin
  if n < 0 then
    Result := 'negative'
  else if n = 0 then
    Result := 'zero'
  else if n < 10 then
    Result := 'small'
  else
    Result := 'large';
end;

begin
  WriteLn(Classify(-5) + ' ' + Classify(0) + ' ' + Classify(7) + ' ' + Classify(70));
  for i := 1 to 3 do
    if i > 1 then
      if i > 2 then WriteLn('dangling: i=' + IntToStr(i) + ' both true')
      else WriteLn('dangling: i=' + IntToStr(i) + ' else of inner if');
  ok := False;
  if ok then else WriteLn('empty then branch');
  if not ok then ;
  s := 'x';
  if s = 'x' then
  begin
    s := s + 'y';
    if Length(s) = 2 then
    begin
      s := s + 'z';
    end;
  end
  else
    s := 'never';
  WriteLn('compound=' + s);
  ok := (s = 'xyz') and (Length(s) = 3);
  if ok then WriteLn('boolean variable condition');
end.

{ A script without Init, Start and DeInit runs its main block only, even
  when headlines are given. }
procedure Helper;
begin
  WriteLn('helper called from main');
end;

begin
  WriteLn('main only');
  Helper;
end.

{ A for loop over Char values is rejected. }
var c: Char;
begin
  for c := 'a' to 'e' do WriteLn(c);
end.

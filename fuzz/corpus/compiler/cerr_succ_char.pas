{ Succ, Pred and Inc do not accept a Char. }
var c: Char;
begin
  c := 'a';
  c := Succ(c);
end.

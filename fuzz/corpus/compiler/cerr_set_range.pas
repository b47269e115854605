{ Ranges are not allowed inside set constructors. }
var c: Char;
begin
  c := 'q';
  if c in ['a'..'z'] then WriteLn('lower');
end.

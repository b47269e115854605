{ < on Boolean values is a type mismatch. }
var a, b: Boolean;
begin
  a := True;
  if b < a then WriteLn('False < True');
end.

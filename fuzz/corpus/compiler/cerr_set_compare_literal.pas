{ Subset tests of a set variable against a set literal are a type mismatch. }
type
  TColor = (clRed, clGreen);
  TColors = set of TColor;
var s: TColors;
begin
  s := [clRed];
  if s >= [clRed] then WriteLn('superset');
end.

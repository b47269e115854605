{ < and > on enumeration values are rejected. }
type TLevel = (lvLow, lvMid, lvHigh);
var l: TLevel;
begin
  l := lvMid;
  if l > lvLow then WriteLn('above low');
end.

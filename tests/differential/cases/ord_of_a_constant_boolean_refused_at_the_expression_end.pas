{ Ord of a constant Boolean or enumeration value: the expression that holds it is refused where it ends. }
var e: Int64;
begin
  e := Ord(True) * 2 + 1 ;
  WriteLn(IntToStr(e));
end.

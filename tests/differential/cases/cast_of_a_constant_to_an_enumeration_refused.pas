{ A constant cast into an enumeration is refused, after the closing parenthesis; only integer constants
  made other integers and characters kept characters pass. }
type TE = (ea, eb, ec);
var e: TE;
begin
  e := TE(2);
  WriteLn(IntToStr(Ord(e)));
end.

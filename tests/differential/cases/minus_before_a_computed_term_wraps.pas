{ A minus before a term whose constant value is an Integer negates it within the Integer's width, as the same
  negation does at run time; only a bare literal beyond the Integer range becomes an Int64. }
var i: Integer; j: Int64;
begin
  j := -2147483647 shl 31; WriteLn(IntToStr(j));
  i := (-2147483647 shl 31) mod 65; WriteLn(IntToStr(i));
  j := (-2147483647 shl 31) div 65; WriteLn(IntToStr(j));
  j := -(2147483647 * 2); WriteLn(IntToStr(j));
  j := -(65536 * 32768); WriteLn(IntToStr(j));
  j := -2147483647 - 1; WriteLn(IntToStr(j));
end.

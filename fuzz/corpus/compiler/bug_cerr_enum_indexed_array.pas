{ Arrays indexed by an enumeration type are not supported; the error must
  name the problem at the index type. }
type
  TSide = (sdBuy, sdSell);
var
  Count: array[TSide] of Integer;
begin
end.

{ Format is not part of the library. }
var s: string;
begin
  s := Format('%d items', [3]);
end.
